#pragma once
// A fresh folder under /tmp for one test, removed with everything in it afterwards. Path()
// ends in '/', like the program's folder.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace wt::test {

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/wt-ui-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path() const { return path_.string() + "/"; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace wt::test
