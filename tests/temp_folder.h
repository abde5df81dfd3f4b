#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A new folder under the tests' temporary directory, removed with its contents at the end.
class TTempFolder {
public:
    explicit TTempFolder(const std::string& prefix) {
        std::string pattern = testing::TempDir() + prefix + "_XXXXXX";
        if (mkdtemp(pattern.data()))
            FPath = pattern;
        EXPECT_FALSE(FPath.empty()) << "no temporary folder";
    }
    ~TTempFolder() {
        if (FPath.empty())
            return;
        std::error_code ignored;
        std::filesystem::permissions(FPath, std::filesystem::perms::all, ignored);
        std::filesystem::remove_all(FPath, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return FPath; }
    long Entries() const {
        return std::distance(std::filesystem::directory_iterator(FPath),
                             std::filesystem::directory_iterator());
    }

private:
    std::string FPath;
};

inline void StoreFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string FileContents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
