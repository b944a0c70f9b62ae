// Prints our compressed size of every lh5 fixture input next to the independent encoder's.
#include <cstdio>

#include "FixtureInputs.h"
#include "settings/LHARoutines.h"

int main() {
    std::printf("%-12s %8s %8s %8s %7s\n", "case", "input", "jlha", "ours", "diff%");
    std::size_t totalRef = 0, totalOurs = 0;
    for (const auto& c : wt::bench::LoadLh5Cases()) {
        const auto ours = wt::CompressBytes(c.input);
        // Both sizes without the 4-byte length field; an empty input has none in our output.
        const std::size_t ref = c.reference.size() >= 4 ? c.reference.size() - 4 : 0;
        const std::size_t mine = ours.size() >= 4 ? ours.size() - 4 : 0;
        const double diff = ref ? 100.0 * (static_cast<double>(mine) - static_cast<double>(ref)) / static_cast<double>(ref) : 0.0;
        std::printf("%-12s %8zu %8zu %8zu %+7.2f\n", c.name.c_str(), c.input.size(), ref, mine, diff);
        totalRef += ref;
        totalOurs += mine;
    }
    std::printf("%-12s %8s %8zu %8zu %+7.2f\n", "total", "", totalRef, totalOurs,
                100.0 * (static_cast<double>(totalOurs) - static_cast<double>(totalRef)) / static_cast<double>(totalRef));
    return 0;
}
