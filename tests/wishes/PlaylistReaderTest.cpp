#include "wishes/PlaylistReader.h"

#include <gtest/gtest.h>

namespace wt {
namespace {

TEST(ReadProfileString, FindsTheKeyOfTheFirstMatchingSectionIgnoringCase) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"[playlist]\r\nnumberofentries=1\r\nFile1=http://a:8000/\r\n", "http://a:8000/"},
        {"[PlayList]\nFILE1 = http://b/ \n", "http://b/"},
        {"[playlist]\rFile1=http://cr-only/\rTitle1=x\r", "http://cr-only/"},
        {"\xEF\xBB\xBF[playlist]\nfile1=\"http://quoted/\"\n", "http://quoted/"},
        {"[other]\nFile1=http://other/\n[playlist]\nFile1=http://mine/\n", "http://mine/"},
        {"[playlist]\nFile1=http://first/\n[playlist]\nFile1=http://second/\n", "http://first/"},
        {"[playlist]\nFile1=http://x/\nFile1=http://y/\n", "http://x/"},
        {"[playlist]\n;File1=http://comment/\nFile2=http://two/\n", ""},
        {"[playlist]\nTitle1=no file\n", ""},
        {"File1=http://outside/\n[playlist]\n", ""},
        {"", ""},
        {"[playlist\nFile1=http://broken-header/\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadProfileString(c.text, "playlist", "File1"), c.expected);
    }
}

TEST(PlaylistStreamUrl, AcceptsOnlyHttpAndHttpsAddresses) {
    struct Case {
        const char* file1;
        bool accepted;
    };
    const Case cases[] = {
        {"http://127.0.0.1:8000/stream", true},   {"HTTPS://radio.example/live", true},
        {"file:///etc/passwd", false},            {"ftp://host/x.mp3", false},
        {"/home/user/song.mp3", false},           {"javascript:alert(1)", false},
        {"httpx://host/", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file1);
        EXPECT_EQ(PlaylistStreamUrl(std::string("[playlist]\nFile1=") + c.file1 + "\n"),
                  c.accepted ? c.file1 : "");
    }
}

}  // namespace
}  // namespace wt
