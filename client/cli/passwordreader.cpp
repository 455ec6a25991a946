#include "passwordreader.h"

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

std::optional<QString> readLine(FILE* in)
{
    std::string line;
    int c = 0;
    while ((c = std::fgetc(in)) != EOF && c != '\n') {
        line.push_back(static_cast<char>(c));
    }
    if (line.empty() && c == EOF) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return QString::fromLocal8Bit(line.data(), static_cast<int>(line.size()));
}

} // namespace

bool PasswordReader::stdinIsTerminal()
{
    return ::isatty(STDIN_FILENO) == 1;
}

std::optional<QString> PasswordReader::fromStdin()
{
    return readLine(stdin);
}

std::optional<QString> PasswordReader::fromTerminal(const QString& prompt)
{
    if (!stdinIsTerminal()) {
        return std::nullopt;
    }
    std::fputs(prompt.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    termios saved{};
    const bool haveTerminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (haveTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const std::optional<QString> password = readLine(stdin);
    if (haveTerminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    }
    return password;
}
