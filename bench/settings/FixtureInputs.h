#pragma once
// The lh5 fixture cases, read for the benchmarks.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace wt::bench {

struct Lh5Case {
    std::string name;
    std::vector<std::uint8_t> input;
    std::vector<std::uint8_t> reference;  // the independent encoder's stream, length field included
};

inline std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<Lh5Case> LoadLh5Cases() {
    const std::filesystem::path dir = std::filesystem::path(WT_FIXTURES_DIR) / "lh5";
    std::vector<Lh5Case> cases;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".in") continue;
        const std::string name = entry.path().stem().string();
        cases.push_back({name, ReadAll(entry.path()), ReadAll(dir / (name + ".lh5s"))});
    }
    std::sort(cases.begin(), cases.end(), [](const Lh5Case& a, const Lh5Case& b) { return a.name < b.name; });
    return cases;
}

}  // namespace wt::bench
