// The catalogue on 100,000 stations. "Engine" benchmarks use TzDataset and StationCatalogue;
// "DirectFile" benchmarks do the same walk and search by reading one record from the file per
// move (pread of 443 bytes), the cost of an engine that keeps nothing in memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "catalogue/DataSetFile.h"
#include "catalogue/StationCatalogue.h"

namespace {

namespace fs = std::filesystem;
constexpr int kStations = 100000;
constexpr int kRecordSize = 443;
constexpr int kDataStart = 229;

struct Folder {
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "wt-bench-catalogue-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
        path += '/';
        WriteCatalogue(path + "data.db");
    }
    ~Folder() { fs::remove_all(path); }

    // 100,000 stations with IDs 1..100000, written straight in the file format.
    static void WriteCatalogue(const std::string& file) {
        std::vector<unsigned char> image = wt::EmptyDataSetImage(
            {{"ID", wt::FieldType::ftInteger, 0, 0}, {"Genre", wt::FieldType::ftString, 25, 0},
             {"Title", wt::FieldType::ftString, 200, 0}, {"BitRate", wt::FieldType::ftSmallint, 0, 0},
             {"URL", wt::FieldType::ftString, 200, 0}});
        std::vector<unsigned char> rec(kRecordSize);
        for (int i = 1; i <= kStations; ++i) {
            std::fill(rec.begin(), rec.end(), 0);
            std::memcpy(rec.data(), &i, 4);
            std::string genre = "Genre " + std::to_string(i % 40);
            std::string title = "Station number " + std::to_string(i) + " playing the hits of today";
            std::string url = "http://stream" + std::to_string(i) + ".example.net:8000/live";
            std::int16_t bitRate = static_cast<std::int16_t>(32 * (1 + i % 6));
            std::memcpy(rec.data() + 4, genre.data(), genre.size());
            std::memcpy(rec.data() + 33, title.data(), title.size());
            std::memcpy(rec.data() + 237, &bitRate, 2);
            std::memcpy(rec.data() + 239, url.data(), url.size());
            image.insert(image.end(), rec.begin(), rec.end());
        }
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                                    static_cast<std::streamsize>(image.size()));
    }
    std::string path;
};

Folder& Shared() {
    static Folder folder;
    return folder;
}

void EngineWalkAllStations(benchmark::State& state) {
    wt::StationCatalogue cat(Shared().path);
    cat.Open();
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (cat.Dataset().First(); !cat.Dataset().Eof(); cat.Dataset().Next()) {
            bytes += cat.DBID().AsInteger() + cat.DBBitRate().AsInteger();
            bytes += cat.DBGenre().AsString().size() + cat.DBTitle().AsString().size() + cat.DBURL().AsString().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(EngineWalkAllStations)->Unit(benchmark::kMillisecond);

void EngineFindAbsentUrl(benchmark::State& state) {
    wt::StationCatalogue cat(Shared().path);
    cat.Open();
    for (auto _ : state) benchmark::DoNotOptimize(cat.FindStationByURL("http://absent.example.net:8000/live"));
}
BENCHMARK(EngineFindAbsentUrl)->Unit(benchmark::kMillisecond);

void EngineAddTenThousand(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(Shared().path + "data.db", Shared().path + "add.db", fs::copy_options::overwrite_existing);
        wt::StationCatalogue cat(Shared().path, "add.db");
        cat.Open();
        state.ResumeTiming();
        for (int i = 0; i < 10000; ++i) {
            std::int32_t id = cat.NextStationID();
            cat.Dataset().AddRecord();
            cat.DBID().SetAsInteger(id);
            cat.DBGenre().SetAsString("Added");
            cat.DBTitle().SetAsString("Added station " + std::to_string(i));
            cat.DBBitRate().SetAsInteger(128);
            cat.DBURL().SetAsString("http://added" + std::to_string(i) + ".example.net/");
            cat.Dataset().Post();
        }
        state.PauseTiming();
        cat.Close();
        state.ResumeTiming();
    }
}
BENCHMARK(EngineAddTenThousand)->Unit(benchmark::kMillisecond)->Iterations(3);

// One deleted station: the whole file is written to a copy that replaces it (a delete moves
// every later record, which in place would leave a doubled record when interrupted).
void EngineDeleteOne(benchmark::State& state) {
    const auto stations = static_cast<std::uintmax_t>(state.range(0));
    fs::copy_file(Shared().path + "data.db", Shared().path + "del.db", fs::copy_options::overwrite_existing);
    fs::resize_file(Shared().path + "del.db", kDataStart + stations * kRecordSize);
    wt::StationCatalogue cat(Shared().path, "del.db");
    cat.Open();
    for (auto _ : state) {
        cat.Dataset().First();
        cat.DeleteCurrentStation();
    }
    cat.Close();
}
BENCHMARK(EngineDeleteOne)->Unit(benchmark::kMillisecond)->Arg(3200)->Arg(100000)->Iterations(20);

void EngineOpen(benchmark::State& state) {
    for (auto _ : state) {
        wt::StationCatalogue cat(Shared().path);
        cat.Open();
        benchmark::DoNotOptimize(cat.StationCount());
        cat.Close();
    }
}
BENCHMARK(EngineOpen)->Unit(benchmark::kMillisecond);

// One pread per record, as an engine without the in-memory records moves.
template <typename Visit>
void DirectWalk(int fd, Visit&& visit) {
    unsigned char rec[kRecordSize];
    for (int i = 0; i < kStations; ++i) {
        if (::pread(fd, rec, kRecordSize, kDataStart + static_cast<off_t>(i) * kRecordSize) != kRecordSize) return;
        if (visit(rec)) return;
    }
}

void DirectFileWalkAllStations(benchmark::State& state) {
    int fd = ::open((Shared().path + "data.db").c_str(), O_RDONLY);
    for (auto _ : state) {
        std::size_t bytes = 0;
        DirectWalk(fd, [&](const unsigned char* rec) {
            std::int32_t id;
            std::memcpy(&id, rec, 4);
            bytes += static_cast<std::size_t>(id) + rec[237];
            bytes += std::string(reinterpret_cast<const char*>(rec + 4), strnlen(reinterpret_cast<const char*>(rec + 4), 26)).size();
            bytes += std::string(reinterpret_cast<const char*>(rec + 33), strnlen(reinterpret_cast<const char*>(rec + 33), 201)).size();
            bytes += std::string(reinterpret_cast<const char*>(rec + 239), strnlen(reinterpret_cast<const char*>(rec + 239), 201)).size();
            return false;
        });
        benchmark::DoNotOptimize(bytes);
    }
    ::close(fd);
}
BENCHMARK(DirectFileWalkAllStations)->Unit(benchmark::kMillisecond);

void DirectFileFindAbsentUrl(benchmark::State& state) {
    int fd = ::open((Shared().path + "data.db").c_str(), O_RDONLY);
    const std::string wanted = "http://absent.example.net:8000/live";
    for (auto _ : state) {
        bool found = false;
        DirectWalk(fd, [&](const unsigned char* rec) {
            found = std::strncmp(reinterpret_cast<const char*>(rec + 239), wanted.c_str(), 201) == 0;
            return found;
        });
        benchmark::DoNotOptimize(found);
    }
    ::close(fd);
}
BENCHMARK(DirectFileFindAbsentUrl)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
