// Times merging a 20,000-station update into a 20,000-station catalogue (a quarter of the
// update's URLs are already known, a few titles blacklisted), the merge that an update runs.
// Usage: wt_bench_update_merge [stations]
#include "catalogue/StationCatalogue.h"
#include "catalogue/zDataset.h"
#include "update/StationMerge.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace wt;

namespace {

StationRecord Station(int i, const char* prefix) {
    StationRecord s;
    s.Genre = "Genre " + std::to_string(i % 40);
    s.Title = std::string(prefix) + " station number " + std::to_string(i);
    s.BitRate = static_cast<std::int16_t>((i % 4 + 1) * 32);
    s.URL = "http://radio" + std::to_string(i) + ".example.net:8000/" + prefix;
    return s;
}

void WriteUpdateFile(const std::string& path, int count) {
    TzDataset update("zUpdate");
    StationFields fields = DeclareStationFields(update);
    update.SetFileName(path);
    update.Open();
    for (int i = 0; i < count; ++i) {
        // One in four repeats a catalogue URL; the rest are new.
        StationRecord s = i % 4 == 0 ? Station(i, "cat") : Station(i, "upd");
        s.ID = i + 1;
        update.Append();
        WriteStation(fields, s);
        update.Post();
    }
    update.Close();
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
    const fs::path dir = fs::temp_directory_path() / ("wt_bench_merge_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string folder = dir.string() + "/";
    {
        StationCatalogue seed(folder, "seed.db");
        seed.Open();
        for (int i = 0; i < count; ++i) seed.AddStation(Station(i, "cat"));
        seed.Close();
    }
    WriteUpdateFile(folder + "upd.db", count);
    const std::vector<std::string> blackList = {"station number 1999", "Nothing like this"};

    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        fs::copy_file(dir / "seed.db", dir / "data.db", fs::copy_options::overwrite_existing);
        StationCatalogue catalogue(folder);
        catalogue.Open();
        TzDataset update("zUpdate");
        DeclareStationFields(update);
        update.SetFileName(folder + "upd.db");
        update.Open();
        const auto start = std::chrono::steady_clock::now();
        const MergeResult result = MergeUpdateStations(catalogue, update, BitRateWindow{}, blackList, nullptr);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, seconds);
        std::printf("run %d: %d into %d: added %d, skipped %d, %.3f s, catalogue now %d\n", run + 1, count, count,
                    result.added, result.skipped, seconds, catalogue.StationCount());
    }
    std::printf("best: %.3f s\n", best);
    fs::remove_all(dir);
    return best <= 3.0 ? 0 : 1;
}
