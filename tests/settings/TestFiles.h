#pragma once
// File helpers shared by the settings tests.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wt::test {

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::filesystem::path Lh5FixtureDir();
// The names of the lh5 fixture cases (NAME of NAME.in / NAME.lh5s), sorted.
std::vector<std::string> Lh5FixtureNames();

// A fresh temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace wt::test
