// /etc/resolv.conf, or the file it links to, replaced atomically: a new file
// beside it and one rename, so a reader never finds it empty or half
// written. Where it can, the new file is exchanged with the old one
// (renameat2 RENAME_EXCHANGE), so what the swap displaced is exactly what
// the file held at that instant: nothing written between a read and a
// rename is lost.
#pragma once

#include <optional>
#include <string>

class ResolvConfFile
{
public:
    explicit ResolvConfFile(std::string path = "/etc/resolv.conf") : path(std::move(path)) {}

    const std::string& linkPath() const { return path; }
    // The file the path leads to, through any links (it need not exist).
    std::string target() const;
    std::optional<std::string> read() const;
    // Puts `content` in place (mode 0644) and returns what it displaced:
    // nothing when there was no file (or it could not be read), or when
    // writing failed (then *ok is false).
    std::optional<std::string> swapIn(const std::string& content, bool* ok) const;

private:
    std::string path;
};

// Reads and writes small files whole; writes go to a new file that is
// renamed into place.
std::optional<std::string> readWholeFile(const std::string& path);
bool writeFileAtomically(const std::string& path, const std::string& content, unsigned mode);
