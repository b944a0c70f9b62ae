#include "directory/StationListImport.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>

#include "platform/FileSystem.h"

namespace wt {

std::string ReadStationListFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw DirectoryError("Cannot open \"" + path + "\": " + std::strerror(errno) + ".");
    if (!S_ISREG(info.st_mode)) throw DirectoryError("\"" + path + "\" is not a file.");
    if (static_cast<std::uint64_t>(info.st_size) > kMaxStationListBytes)
        throw DirectoryError("\"" + path + "\" is too large for a station list (over 64 MB).");
    std::unique_ptr<OpenFile> file;
    if (const FileResult opened = RealFileSystem().Open(path, OpenMode::Read, &file); !opened.ok())
        throw DirectoryError("Cannot open \"" + path + "\": " + opened.Reason() + ".");
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    if (!file->ReadAt(0, bytes.data(), bytes.size(), &got).ok()) throw DirectoryError("Cannot read \"" + path + "\".");
    bytes.resize(got);
    return bytes;
}

ImportSummary ImportStationListFile(StationCatalogue& catalogue, const std::string& path, const std::string& genre,
                                    const std::vector<std::string>& blackList) {
    const std::string bytes = ReadStationListFile(path);
    const std::vector<DirectoryStation> stations = ReadStationList(bytes, path);
    return AddStationsToCatalogue(catalogue, stations, genre, blackList);
}

}  // namespace wt
