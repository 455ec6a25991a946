#pragma once

#include <QString>
#include <optional>

// The account password, from a pipe (--password-stdin) or typed at the
// terminal without echo. Never asks when standard input is no terminal.
class PasswordReader
{
public:
    static bool stdinIsTerminal();
    // The first line of standard input, without its line end.
    static std::optional<QString> fromStdin();
    // Prompts on the terminal and reads one line with echo off.
    static std::optional<QString> fromTerminal(const QString& prompt);
};
