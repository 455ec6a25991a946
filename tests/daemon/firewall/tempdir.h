// A temporary folder removed with everything in it at the end of a test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class TempDir
{
public:
    TempDir() : TempDir(std::filesystem::temp_directory_path().string()) {}
    explicit TempDir(const std::string& base)
    {
        std::string pattern = base + "/kestrova-test-XXXXXX";
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
