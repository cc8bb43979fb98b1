// Runs a test inside a fresh empty folder, the process's current folder for the
// test's duration, so the files the programs write beside themselves
// ("TESTout.TXT", "TESTout.tmp") never meet those of another test.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TTempFolder {
public:
    TTempFolder()
    {
        char pattern[] = "/tmp/queltest.XXXXXX";
        path_ = mkdtemp(pattern);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~TTempFolder()
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(path_);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

inline void WriteTextFile(const std::string& name, const std::string& content)
{
    std::ofstream(name, std::ios::binary) << content;
}

inline std::string ReadTextFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
