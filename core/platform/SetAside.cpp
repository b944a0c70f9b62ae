#include "platform/SetAside.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace wt {

namespace fs = std::filesystem;

std::string SetAsideName(const std::string& path, std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    const std::string base = path + ".damaged-" + stamp;
    std::string name = base;
    std::error_code ec;
    for (int n = 2; fs::exists(name, ec) || fs::is_symlink(name, ec); ++n) name = base + "-" + std::to_string(n);
    return name;
}

std::string MoveAside(const std::string& path, std::time_t now, FileSystem& files) {
    const std::string aside = SetAsideName(path, now);
    const FileResult moved = files.RenameOver(path, aside);
    if (!moved.ok()) throw std::runtime_error("Cannot rename \"" + path + "\" to \"" + aside + "\". " + moved.Reason());
    return aside;
}

std::string CopyAside(const std::string& path, std::time_t now, FileSystem& files) {
    const std::string aside = SetAsideName(path, now);
    const FileResult copied = CopyWholeFile(files, path, aside);
    if (!copied.ok()) throw std::runtime_error("Cannot copy \"" + path + "\" to \"" + aside + "\". " + copied.Reason());
    return aside;
}

}  // namespace wt
