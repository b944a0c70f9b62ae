#include "engine/IcyParser.h"

#include <gtest/gtest.h>

namespace wt {
namespace {

TEST(IcyParser, TitleIsTheQuotedValueUpToItsClosingQuote) {
    struct Case { const char* meta; std::optional<std::string> title; };
    const Case cases[] = {
        {"StreamTitle='Artist - Song';StreamUrl='';", "Artist - Song"},
        {"StreamTitle='Love; Actually';", "Love; Actually"},     // ';' inside the title
        {"StreamTitle='It's Me';", "It's Me"},                   // a quote inside
        {"StreamTitle='';", ""},
        {"StreamTitle='No end", "No end"},
        {"StreamUrl='x';", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtractStreamTitle(c.meta), c.title) << c.meta;
}

TEST(IcyParser, DemuxerGivesTheSameAudioAndTitlesForAnySplit) {
    std::string meta = "StreamTitle='A';";
    meta.resize(32, '\0');
    std::string stream = std::string(8, 'a') + char(2) + meta + std::string(8, 'b') + char(0) + std::string(3, 'c');
    for (std::size_t step = 1; step <= stream.size(); ++step) {
        std::string audio;
        std::vector<std::string> metas;
        IcyDemuxer demuxer(
            8, [&](const char* d, std::size_t n) { audio.append(d, n); },
            [&](const std::string& m) { metas.push_back(m); });
        for (std::size_t i = 0; i < stream.size(); i += step)
            demuxer.Feed(stream.data() + i, std::min(step, stream.size() - i));
        EXPECT_EQ(audio, "aaaaaaaabbbbbbbbccc") << step;
        EXPECT_EQ(metas, std::vector<std::string>{"StreamTitle='A';"}) << step;
    }
    EXPECT_EQ(ParseMetaInt("icy-metaint: 16000\r\n", 0), 16000u);
    EXPECT_EQ(ParseMetaInt("Content-Type: audio/mpeg\r\n", 7), 7u);
    EXPECT_EQ(ParseMetaInt("icy-metaint: lots\r\n", 7), 0u);
}

}  // namespace
}  // namespace wt
