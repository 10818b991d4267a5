// A fresh temporary folder per test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

struct TempFolder {
    std::string path; // with a trailing '/'

    TempFolder() {
        char pattern[] = "/tmp/pebblecraft-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        path = std::string(made ? made : "/tmp") + "/";
    }
    ~TempFolder() { std::filesystem::remove_all(path); }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::string full = path + name;
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream(full, std::ios::binary) << bytes;
        return full;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(path + name); }
};

inline std::vector<uint8_t> bytesOf(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}
