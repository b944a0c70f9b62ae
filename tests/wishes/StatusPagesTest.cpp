// Reading the servers' status pages, and finding a server from a station's address.
#include <gtest/gtest.h>

#include "wishes/StatusPages.h"

namespace wt {
namespace {

TEST(StatusPages, IcecastMountsFromOneSourceOrMany) {
    const auto many = ParseIcecastStatus(R"({"icestats":{"admin":"x","source":[
        {"listenurl":"http://h:8000/a.mp3","title":"Help","artist":"The Beatles","server_name":"A",
         "genre":"Pop","server_type":"audio/mpeg"},
        {"listenurl":"http://h:8000/b.aac","title":1999,"server_type":"audio/aacp"},
        {"title":"no listen url"},
        {"listenurl":"http://h:8000/c.mp3","title":"Caf\u00e9 \"Live\"","dummy":null}]}})");
    ASSERT_TRUE(many);
    ASSERT_EQ(many->size(), 3u);
    EXPECT_EQ((*many)[0].title, "The Beatles - Help");
    EXPECT_EQ((*many)[0].serverName, "A");
    EXPECT_EQ((*many)[0].genre, "Pop");
    EXPECT_EQ((*many)[1].title, "1999");
    EXPECT_EQ((*many)[2].title, "Caf\xC3\xA9 \"Live\"");

    const auto one = ParseIcecastStatus(R"({"icestats":{"source":{"listenurl":"http://h/x","title":"T"}}})");
    ASSERT_TRUE(one);
    ASSERT_EQ(one->size(), 1u);
    EXPECT_EQ((*one)[0].listenUrl, "http://h/x");

    const auto idle = ParseIcecastStatus(R"({"icestats":{"host":"h"}})");
    ASSERT_TRUE(idle);
    EXPECT_TRUE(idle->empty());
}

TEST(StatusPages, TextsThatAreNotStatusPages) {
    for (const char* text : {"", "<html>404</html>", "[]", R"({"other":1})", R"({"icestats":"x"})",
                             R"({"songtitle":)"}) {
        EXPECT_FALSE(ParseIcecastStatus(text)) << text;
        EXPECT_FALSE(ParseShoutcastStats(text)) << text;
    }
    // A title with an unescaped quote breaks the page, not the server's kind.
    const char broken[] = R"({"icestats":{"source":{"listenurl":"http://h/x","title":"Say "Hi""}}})";
    EXPECT_FALSE(ParseIcecastStatus(broken));
    EXPECT_TRUE(LooksLikeIcecastStatus(broken));
}

TEST(StatusPages, ShoutcastStats) {
    const auto stats = ParseShoutcastStats(R"({"currentlisteners":3,"servertitle":"Jazz FM","servergenre":"Jazz",
        "songtitle":"Miles Davis - So What","streampath":"/stream","content":"audio/mpeg","version":"2.6"})");
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->title, "Miles Davis - So What");
    EXPECT_EQ(stats->serverName, "Jazz FM");
    EXPECT_EQ(stats->genre, "Jazz");
    EXPECT_EQ(stats->listenUrl, "/stream");
    EXPECT_EQ(stats->serverType, "audio/mpeg");
    EXPECT_FALSE(ParseShoutcastStats(R"({"servertitle":"no song field"})"));
}

TEST(StatusPages, ServerRootAndPathOfAnAddress) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"http://Host.Test:8000/live.mp3", "http://host.test:8000/", "/live.mp3"},
        {"HTTPS://host.test/a/b?x=1#f", "https://host.test/", "/a/b"},
        {"http://user:pw@host.test:81", "http://host.test:81/", "/"},
        {"http://host.test?x=1", "http://host.test/", "/"},
        {"ftp://host.test/x", "", "/x"},
        {"host.test/x", "", "/x"},
        {"http:///x", "", "/x"},
    };
    for (const auto& [url, root, path] : cases) {
        EXPECT_EQ(ServerRoot(url), root) << url;
        EXPECT_EQ(UrlPath(url), path) << url;
    }
}

}  // namespace
}  // namespace wt
