// What one settings change costs on a 1 MB settings file: the per-song counter (an integer
// written in place) and a list rewrite (the blacklist), each flushed to the disk.
// Usage: wt_bench_settings_commit [FOLDER] [COUNT]; FOLDER defaults to a new one in /tmp.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "settings/zIniData.h"

namespace {

using Clock = std::chrono::steady_clock;

// Random letters do not compress, so the file really holds about a megabyte.
std::string Noise(std::mt19937& random, std::size_t size) {
    std::uniform_int_distribution<int> letter('a', 'z');
    std::string text(size, ' ');
    for (char& c : text) c = static_cast<char>(letter(random));
    return text;
}

template <class Change>
void Report(const char* what, int count, Change change) {
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        change(i);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms) sum += v;
    std::printf("%-34s n=%d  median %.3f ms  mean %.3f ms  p95 %.3f ms  max %.3f ms\n", what, count,
                ms[ms.size() / 2], sum / count, ms[ms.size() * 95 / 100], ms.back());
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::string folder;
    if (argc > 1) {
        folder = argv[1];
    } else {
        char pattern[] = "/tmp/wt-commit-XXXXXX";
        folder = mkdtemp(pattern);
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 200;
    const std::string path = (fs::path(folder) / "cfg.dat").string();
    fs::remove(path);
    std::mt19937 random(7);
    {
        wt::TzIniData store(path, false);
        for (int i = 0; i < 400; ++i) store.WriteString("Group" + std::to_string(i), Noise(random, 4000));
        store.WriteString("BlackList", Noise(random, 2000));
    }
    std::printf("settings file: %s, %lld bytes\n", path.c_str(), static_cast<long long>(fs::file_size(path)));
    wt::TzIniData store(path, false);
    Report("WriteInteger RippedSongs", count, [&](int i) { store.WriteInteger("RippedSongs", i); });
    const std::string list = Noise(random, 2000);
    Report("WriteString BlackList (2 KB)", count, [&](int i) { store.WriteString("BlackList", list + std::to_string(i)); });
    if (argc <= 1) fs::remove_all(folder);
    return 0;
}
