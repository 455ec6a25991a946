// A runner that records every program the kill switch or the update job
// starts, with the content of the script or input file at that moment, and
// answers with scripted exit codes.
#pragma once

#include "firewallrunner.h"

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct RecordedCommand
{
    std::string line;  // argv joined by blanks, plus "< in" / "> out"
    std::string input; // content of the script (sh) or the stdin file
};

class FakeRunner : public FirewallRunner
{
public:
    // Exit code for a command whose line contains the key; 0 otherwise.
    std::map<std::string, int> failures;
    // Exit code for a command whose script or input file contains the key.
    std::map<std::string, int> inputFailures;
    // Text written to the output file of a command whose line contains the key.
    std::map<std::string, std::string> outputs;
    std::vector<RecordedCommand> commands;
    std::vector<std::vector<std::string>> spawned;

    int run(const std::vector<std::string>& argv, const std::string& in, const std::string& out,
            std::string*) override
    {
        RecordedCommand c;
        for (const auto& a : argv)
            c.line += (c.line.empty() ? "" : " ") + a;
        if (!in.empty())
            c.line += " < " + in;
        if (!out.empty())
            c.line += " > " + out;
        if (argv.size() == 2 && argv[0] == "sh")
            c.input = read(argv[1]);
        else if (!in.empty())
            c.input = read(in);
        if (!out.empty()) {
            std::string text;
            for (const auto& [key, value] : outputs) {
                if (c.line.find(key) != std::string::npos)
                    text = value;
            }
            std::ofstream(out) << text;
        }
        commands.push_back(c);
        for (const auto& [key, code] : failures) {
            if (c.line.find(key) != std::string::npos)
                return code;
        }
        for (const auto& [key, code] : inputFailures) {
            if (c.input.find(key) != std::string::npos)
                return code;
        }
        return 0;
    }

    bool spawnDetached(const std::vector<std::string>& argv) override
    {
        spawned.push_back(argv);
        return true;
    }

    // The command lines with the folder `dir` shown as "D".
    std::vector<std::string> lines(const std::string& dir) const
    {
        std::vector<std::string> out;
        for (const auto& c : commands) {
            std::string l = c.line;
            for (size_t p; (p = l.find(dir)) != std::string::npos;)
                l.replace(p, dir.size(), "D");
            out.push_back(l);
        }
        return out;
    }

    static std::string read(const std::string& path)
    {
        std::ifstream f(path);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }
};
