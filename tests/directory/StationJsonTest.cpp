#include <gtest/gtest.h>

#include <string>

#include "DirectoryFixtures.h"
#include "directory/StationJson.h"

namespace wt {
namespace {

TEST(StationJson, ReadsEveryFieldOfTheFixtureAndSkipsNonObjects) {
    const auto stations = ParseStationJson(testing::FixtureText("stations.json"));
    ASSERT_EQ(stations.size(), 11u);  // the bare number 42 is not a station
    const DirectoryStation& jazz = stations[0];
    EXPECT_EQ(jazz.stationuuid, "a1");
    EXPECT_EQ(jazz.name, "Jazz Lounge");
    EXPECT_EQ(jazz.url, "http://127.0.0.1:8000/jazz.pls");
    EXPECT_EQ(jazz.StreamUrl(), "http://127.0.0.1:8000/jazz");
    EXPECT_EQ(jazz.tags, "jazz,smooth jazz");
    EXPECT_EQ(jazz.FirstTag(), "jazz");
    EXPECT_EQ(jazz.country, "Germany");
    EXPECT_EQ(jazz.countryCode, "DE");
    EXPECT_EQ(jazz.language, "german");
    EXPECT_EQ(jazz.codec, "MP3");
    EXPECT_EQ(jazz.bitrate, 128);
    EXPECT_EQ(jazz.votes, 512);
    EXPECT_FALSE(jazz.hls);
    EXPECT_TRUE(jazz.lastCheckOk);

    EXPECT_EQ(stations[1].name, "R\u00e1dio A\u00e7\u00e3o \u2615 \u00d1and\u00fa");
    EXPECT_EQ(stations[2].bitrate, 34400400);
    EXPECT_TRUE(stations[4].hls);
    // Missing fields stay empty; a station without url_resolved is recorded from url.
    EXPECT_EQ(stations[6].name, "Bare Minimum");
    EXPECT_EQ(stations[6].StreamUrl(), "http://127.0.0.1:8000/bare");
    EXPECT_EQ(stations[6].bitrate, 0);
    EXPECT_EQ(stations[6].tags, "");
    EXPECT_FALSE(stations[8].lastCheckOk);
    // Numbers and flags sent as text.
    EXPECT_EQ(stations[9].bitrate, 192);
    EXPECT_EQ(stations[9].votes, 17);
    EXPECT_EQ(stations[9].FirstTag(), "ambient");
    EXPECT_TRUE(stations[10].lastCheckOk);
    EXPECT_FALSE(stations[10].hls);
}

TEST(StationJson, OddValuesBecomeSomethingSafe) {
    struct Case {
        const char* json;
        std::int64_t bitrate;
        std::string tags;
    };
    const Case cases[] = {
        {R"([{"bitrate": 1e300, "tags": ["a", "b", 3]}])", INT64_MAX, "a,b"},
        {R"([{"bitrate": -1e300, "tags": null}])", INT64_MIN, ""},
        {R"([{"bitrate": 18446744073709551615, "tags": 7}])", INT64_MAX, "7"},
        {R"([{"bitrate": "fast", "tags": {"x": 1}}])", 0, ""},
        {R"([{"bitrate": true}])", 1, ""},
        {R"([{"bitrate": 128.9}])", 128, ""},
        {R"({"stations": [{"bitrate": 5}]})", 5, ""},
        // Only the one station array counts, and only objects directly in it.
        {R"({"count": [{"bitrate": 1}], "stations": [[{"bitrate": 2}], {"bitrate": 5, "x": {"bitrate": 3}}], "more": [{}]})", 5, ""},
        {R"([{"bitrate": 7, "tags": ["a", ["b"], {"c": "d"}, "e"]}, 8, "s", null, [{"bitrate": 9}]])", 7, "a,e"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        const auto stations = ParseStationJson(c.json);
        ASSERT_EQ(stations.size(), 1u);
        EXPECT_EQ(stations[0].bitrate, c.bitrate);
        EXPECT_EQ(stations[0].tags, c.tags);
    }
}

TEST(StationJson, TextThatIsNoStationArrayIsRefusedWithAReason) {
    for (const char* text : {"", "<html>Service unavailable</html>", "[{\"name\": \"cut", "{\"error\": 1}", "17"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(ParseStationJson(text), DirectoryError);
    }
}

TEST(StationJson, Windows1252NamesAndDeepNestingAreHandled) {
    const auto latin = ParseStationJson("[{\"name\": \"Caf\xe9\"}]");
    ASSERT_EQ(latin.size(), 1u);
    EXPECT_EQ(latin[0].name, "Caf\u00e9");

    // A hostile answer nested a million levels deep inside a station costs neither stack nor memory.
    std::string deep = "[{\"name\": \"x\", \"extra\": ";
    deep += std::string(1000000, '[') + std::string(1000000, ']') + "}]";
    const auto stations = ParseStationJson(deep);
    ASSERT_EQ(stations.size(), 1u);
    EXPECT_EQ(stations[0].name, "x");
}

}  // namespace
}  // namespace wt
