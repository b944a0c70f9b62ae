// A search answer of N stations in the directory's format, served by the loopback HTTP server
// of the tests (same process, so its work is part of the figure); the same answer parsed alone;
// and an export of N stations imported into an empty catalogue.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "LoopbackHttpServer.h"
#include "catalogue/StationCatalogue.h"
#include "directory/CatalogueImport.h"
#include "directory/RadioBrowserClient.h"
#include "directory/StationJson.h"
#include "net/HttpClient.h"

namespace {

namespace fs = std::filesystem;

// N stations as the directory sends them: every field, UTF-8 names, one in 50 an HLS stream.
std::string Answer(int n) {
    std::string json = "[";
    for (int i = 0; i < n; ++i) {
        const std::string id = std::to_string(i);
        if (i > 0) json += ',';
        json += R"({"changeuuid":"c)" + id + R"(","stationuuid":"s)" + id + R"(","name":"Radio Num\u00e9ro )" + id +
                R"(","url":"http://127.0.0.1:8000/)" + id + R"(.pls","url_resolved":"http://127.0.0.1:8000/live/)" +
                id + R"(","homepage":"http://127.0.0.1/","favicon":"","tags":"pop,rock,hits )" + std::to_string(i % 40) +
                R"(","country":"Germany","countrycode":"DE","state":"","language":"german","languagecodes":"de",)" +
                R"("votes":)" + std::to_string(i % 997) + R"(,"lastchangetime":"2024-01-01 10:00:00","codec":"MP3",)" +
                R"("bitrate":128,"hls":)" + (i % 50 == 0 ? "1" : "0") + R"(,"lastcheckok":1,"clickcount":)" + id + "}";
    }
    return json + "]";
}

void BM_SearchLoopback(benchmark::State& state) {
    const std::string body = Answer(static_cast<int>(state.range(0)));
    wt::test::LoopbackHttpServer server;
    server.SetHandler([&](const wt::test::RecordedRequest&) {
        return wt::test::ScriptedResponse::Ok(body, "application/json");
    });
    wt::net::HttpClient http;
    wt::RadioBrowserClient client(http, {server.Url("")});
    wt::StationQuery query;
    query.name = "radio";
    for (auto _ : state) benchmark::DoNotOptimize(client.Search(query));
    state.counters["answer_bytes"] = static_cast<double>(body.size());
}
BENCHMARK(BM_SearchLoopback)->Arg(11)->Arg(500)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ParseStationJson(benchmark::State& state) {
    const std::string body = Answer(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(wt::ParseStationJson(body));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(body.size()));
}
BENCHMARK(BM_ParseStationJson)->Arg(500)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_ImportExport(benchmark::State& state) {
    const auto stations = wt::ParseStationJson(Answer(static_cast<int>(state.range(0))));
    std::string pattern = (fs::temp_directory_path() / "wt-bench-directory-XXXXXX").string();
    const std::string folder = std::string(::mkdtemp(pattern.data())) + "/";
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(folder + "data.db");
        wt::StationCatalogue catalogue(folder);
        catalogue.Open();
        state.ResumeTiming();
        added = wt::AddStationsToCatalogue(catalogue, stations, "", {}).added;
        catalogue.Close();
    }
    fs::remove_all(folder);
    state.counters["added"] = added;
}
BENCHMARK(BM_ImportExport)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
