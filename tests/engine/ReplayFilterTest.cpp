// The audio a server sends again on a new connection is dropped where it overlaps what the
// rip already has, and nothing else is.
#include "engine/ReplayFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wt {
namespace {

std::string Noise(std::size_t size, std::uint32_t seed) {
    std::string out(size, '\0');
    for (auto& c : out) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 24);
    }
    return out;
}

struct Recorder {
    std::string audio;       // with "<title>" where each metadata text came
    std::vector<bool> resumed;
    ReplayFilter filter{{[this](bool seamless, std::string_view) { resumed.push_back(seamless); },
                         [this](const char* d, std::size_t n) { audio.append(d, n); },
                         [this](const std::string& t) { audio += "<" + t + ">"; }}};
    void Feed(const std::string& bytes, std::size_t chunk = 700) {
        for (std::size_t at = 0; at < bytes.size(); at += chunk) filter.Audio(bytes.data() + at, std::min(chunk, bytes.size() - at));
    }
};

TEST(ReplayFilter, DropsTheReplayedStretchAndKeepsTheRest) {
    const std::string before = Noise(200 * 1024, 1), after = Noise(30 * 1024, 2);
    struct Case {
        const char* what;
        std::size_t replayed;  // bytes of `before`'s end that the new connection starts with
        bool seamless;
    } cases[] = {
        {"no replay", 0, false},
        {"a chance match too short to trust", 20, false},
        {"a short replay", 500, true},
        {"one metadata interval", 16000, true},
        {"Icecast's default burst", 64 * 1024, true},
        {"a long burst", 150 * 1024, true},
    };
    for (const auto& c : cases) {
        Recorder r;
        r.Feed(before);
        r.filter.Reconnected();
        r.Feed(before.substr(before.size() - c.replayed) + after);
        r.filter.Finish();
        // A replay that is not recognised stays (doubled) rather than risk dropping new audio.
        const std::string kept = c.seamless ? "" : before.substr(before.size() - c.replayed);
        EXPECT_EQ(r.audio, before + kept + after) << c.what;
        EXPECT_EQ(r.resumed, std::vector<bool>{c.seamless}) << c.what;
    }
}

TEST(ReplayFilter, TitlesInsideTheReplayTakeEffectWhereTheNewAudioStarts) {
    const std::string before = Noise(40000, 3), after = Noise(5000, 4);
    Recorder r;
    r.Feed(before);
    r.filter.Reconnected();
    r.Feed(before.substr(before.size() - 10000, 6000));
    r.filter.Meta("Same");
    r.Feed(before.substr(before.size() - 4000) + after.substr(0, 1000));
    r.filter.Meta("Next");
    r.Feed(after.substr(1000));
    EXPECT_EQ(r.audio, before + "<Same>" + after.substr(0, 1000) + "<Next>" + after.substr(1000));
}

TEST(ReplayFilter, AConnectionEndingInsideItsReplayDoesNotHideTheNextReplay) {
    const std::string before = Noise(40000, 5);
    Recorder r;
    r.Feed(before);
    r.filter.Reconnected();
    // The connection breaks before its replay reaches the end of what we had: with only that
    // end remembered, the stretch cannot be told from new audio and is kept.
    const std::string cut = before.substr(10000, 8000);
    r.Feed(cut);
    r.filter.Reconnected();
    r.Feed(cut.substr(4000) + "new");
    r.filter.Finish();
    EXPECT_EQ(r.audio, before + cut + "new");
    EXPECT_EQ(r.resumed, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace wt
