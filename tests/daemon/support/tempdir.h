// A temporary folder for one test, removed with everything in it.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

class TempDir
{
public:
    TempDir()
    {
        char pattern[] = "/tmp/kvdaemonXXXXXX";
        const char* made = mkdtemp(pattern);
        path = made != nullptr ? made : "";
    }
    ~TempDir()
    {
        if (!path.empty()) {
            const std::string command = "rm -rf '" + path + "'";
            int ignored = std::system(command.c_str());
            (void)ignored;
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name, const std::string& content) const
    {
        const std::string full = path + "/" + name;
        std::ofstream(full, std::ios::binary) << content;
        return full;
    }

    std::string path;
};
