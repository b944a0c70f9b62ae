// Which stations a look reports: once per wished song per station, never what played already.
#include <gtest/gtest.h>

#include "wishes/NowPlayingSieve.h"

namespace wt {
namespace {

TWishInfo On(const char* station, const char* song) { return {std::string("http://s/") + station, song, "", station}; }

std::vector<std::string> Reported(const std::vector<WishHit>& hits) {
    std::vector<std::string> out;
    for (const WishHit& hit : hits) out.push_back(hit.info.Station + ":" + hit.wish);
    return out;
}

TEST(NowPlayingSieve, ReportsAStationOncePerWishedSongAndNeverWhatPlayedAtTheFirstLook) {
    NowPlayingSieve sieve;
    const std::vector<std::string> wishes = {"beatles", "abba"};
    using V = std::vector<std::string>;
    // First look: A already plays a wished song, heard from its middle: not reported.
    EXPECT_EQ(Reported(sieve.Sift({On("A", "The Beatles - Help"), On("B", "Queen - Radio")}, wishes)), V{});
    // A keeps playing it; B turns to a wished song (letter case ignored).
    EXPECT_EQ(Reported(sieve.Sift({On("A", "the beatles - help"), On("B", "ABBA - SOS")}, wishes)), V{"B:abba"});
    // Nothing changed: nothing to report.
    EXPECT_EQ(Reported(sieve.Sift({On("A", "The Beatles - Help"), On("B", "ABBA - SOS")}, wishes)), V{});
    // A's next song is wished too; B ends its song...
    EXPECT_EQ(Reported(sieve.Sift({On("A", "The Beatles - Yesterday"), On("B", "News")}, wishes)), V{"A:beatles"});
    // ...and plays the same one again later: a new hearing counts.
    EXPECT_EQ(Reported(sieve.Sift({On("B", "ABBA - SOS")}, wishes)), V{"B:abba"});
}

TEST(NowPlayingSieve, AWishAddedLaterHasAFirstLookOfItsOwn) {
    NowPlayingSieve sieve;
    using V = std::vector<std::string>;
    EXPECT_EQ(Reported(sieve.Sift({On("A", "Queen - Radio")}, {"abba"})), V{});
    EXPECT_EQ(Reported(sieve.Sift({On("A", "Queen - Radio"), On("B", "ABBA - SOS")}, {"abba", "queen"})),
              V{"B:abba"})
        << "queen is new: what plays now only teaches it";
    EXPECT_EQ(Reported(sieve.Sift({On("A", "Queen - Bohemian Rhapsody")}, {"abba", "queen"})), V{"A:queen"});
    // An empty wish matches nothing; the first matching wish of the list is named.
    EXPECT_EQ(Reported(sieve.Sift({On("C", "Queen and Abba")}, {"", "abba", "queen"})), V{"C:abba"});
}

}  // namespace
}  // namespace wt
