// Opens arbitrary bytes as a settings file, reads every record, then writes, rewrites and
// deletes values. A damaged file may be refused with an error; it must never crash the store,
// make it read or write outside its buffers, or leave a file the store cannot open again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "settings/zIniData.h"

namespace {

// A private folder for the file, removed when the process ends.
struct FuzzFolder {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("wt-fuzz-settings-" + std::to_string(getpid()));
    FuzzFolder() { std::filesystem::create_directories(dir); }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

const std::string& FuzzFile() {
    static const FuzzFolder folder;
    static const std::string path = (folder.dir / "cfg.dat").string();
    return path;
}

void Exercise(const std::string& path) {
    // Fuzz files are thrown away: no flush to the disk (which would cap the run at ~90 inputs/s).
    wt::TzIniData store(wt::UnsyncedFileSystem(), path, false);
    for (const auto& entry : store.Records()) store.RecordText(entry);
    store.ReadString("Wishes", "");
    store.ReadInteger("RippedSongs", 0);
    store.WriteString("WorkingPath", "/music/Wavetrap Music/");
    store.WriteStrings("BlackList", {"Station A", "Station B", "Station A", "Station B"});
    store.WriteInteger("Wishes", 3);
    store.DeleteValue("Favorites");
    store.WriteString("WorkingPath", "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) return 0;
    const std::string& path = FuzzFile();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    bool opened = false;
    try {
        Exercise(path);
        opened = true;
    } catch (const std::exception&) {
    }
    if (opened) {
        // What the store left behind opens again and reads back what was written last.
        wt::TzIniData again(path, true);
        if (again.ReadInteger("Wishes", -1) != 3) std::abort();
    }
    std::filesystem::remove(path);
    return 0;
}
