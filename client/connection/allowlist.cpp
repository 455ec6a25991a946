#include "allowlist.h"

#include <QSet>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace AllowList {

namespace {

// Dotted quad with four decimal parts of 0-255 and no leading zeros, the
// form the daemon accepts. QHostAddress would also take "1.2.3" or octal,
// and costs ten times as much on 5,000 servers.
std::optional<quint32> parseIPv4(const QString& text)
{
    quint32 value = 0;
    int parts = 0;
    int i = 0;
    const int n = text.size();
    while (parts < 4) {
        const int start = i;
        quint32 part = 0;
        while (i < n && i - start < 3 && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
            part = part * 10 + quint32(text[i].unicode() - '0');
            ++i;
        }
        const int digits = i - start;
        if (digits == 0 || part > 255 || (digits > 1 && text[start] == QLatin1Char('0'))) {
            return std::nullopt;
        }
        value = (value << 8) | part;
        ++parts;
        if (parts < 4) {
            if (i >= n || text[i] != QLatin1Char('.')) {
                return std::nullopt;
            }
            ++i;
        }
    }
    if (i != n) {
        return std::nullopt;
    }
    return value;
}

QString addressText(quint32 a)
{
    char text[16];
    const int n =
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", a >> 24, (a >> 16) & 0xff, (a >> 8) & 0xff, a & 0xff);
    return QString::fromLatin1(text, n);
}

struct Block
{
    quint32 base;
    int prefix; // 0-32
};

// The fewest aligned blocks that cover exactly the sorted, distinct addresses.
std::vector<Block> exactBlocks(const std::vector<quint32>& sorted)
{
    std::vector<Block> blocks;
    size_t i = 0;
    while (i < sorted.size()) {
        size_t j = i;
        while (j + 1 < sorted.size() && sorted[j + 1] == sorted[j] + 1) {
            ++j;
        }
        quint64 from = sorted[i];
        const quint64 to = sorted[j];
        while (from <= to) {
            int size = 0; // log2 of the block size
            while (size < 32 && (from & ((quint64(1) << (size + 1)) - 1)) == 0 &&
                   from + (quint64(1) << (size + 1)) - 1 <= to) {
                ++size;
            }
            blocks.push_back({quint32(from), 32 - size});
            from += quint64(1) << size;
        }
        i = j + 1;
    }
    return blocks;
}

class Fitter
{
public:
    explicit Fitter(int capacity) : capacity(capacity) {}

    void add(const QString& item)
    {
        const int cost = item.size() + (list.isEmpty() ? 0 : 1);
        if (used + cost <= capacity) {
            list.append(item);
            used += cost;
        }
    }
    // Not even the shortest address ("0.0.0.0") and its separator fit.
    bool full() const { return capacity - used < 8; }

    QStringList list;

private:
    int capacity;
    int used = 0;
};

} // namespace

QStringList build(const QStringList& required, const QStringList& serverAddresses, int capacity)
{
    Fitter out(capacity);
    QSet<quint32> taken;
    for (const QString& item : required) {
        const auto address = parseIPv4(item);
        if (address && !taken.contains(*address)) {
            taken.insert(*address);
            out.add(addressText(*address));
        }
    }

    std::vector<quint32> inOrder;
    inOrder.reserve(size_t(serverAddresses.size()));
    for (const QString& item : serverAddresses) {
        if (const auto address = parseIPv4(item)) {
            inOrder.push_back(*address);
        }
    }
    std::vector<quint32> sorted = inOrder;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());

    std::vector<Block> blocks = exactBlocks(sorted);
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const Block& a, const Block& b) { return a.prefix < b.prefix; });
    // The addresses no block holds, sorted; each is added once at most.
    std::vector<quint32> singles;
    for (const Block& block : blocks) {
        if (block.prefix == 32) {
            singles.push_back(block.base);
        } else if (!out.full()) {
            out.add(addressText(block.base) + QLatin1Char('/') + QString::number(block.prefix));
        }
    }
    std::sort(singles.begin(), singles.end());
    std::vector<bool> done(singles.size());
    for (quint32 address : inOrder) {
        if (out.full()) {
            break;
        }
        const auto it = std::lower_bound(singles.begin(), singles.end(), address);
        if (it == singles.end() || *it != address || done[size_t(it - singles.begin())]) {
            continue;
        }
        done[size_t(it - singles.begin())] = true;
        if (!taken.contains(address)) {
            out.add(addressText(address));
        }
    }
    return out.list;
}

} // namespace AllowList
