#include "IcecastServer.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <string>

namespace wt::test {
namespace {

// Reads the first bytes of the stream with ICY metadata requested and returns the headers.
std::string ReadHeaders(const std::string& url) {
    std::string headers;
    CURL* curl = curl_easy_init();
    curl_slist* list = curl_slist_append(nullptr, "Icy-MetaData: 1");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 1500L);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION,
                     +[](char* data, std::size_t size, std::size_t n, void* out) {
                         static_cast<std::string*>(out)->append(data, size * n);
                         return size * n;
                     });
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION,
                     +[](char*, std::size_t size, std::size_t n, void*) { return size * n; });
    curl_easy_perform(curl);  // ends by the time-out: the stream never ends by itself
    curl_slist_free_all(list);
    curl_easy_cleanup(curl);
    return headers;
}

TEST(IcecastServer, ServesAnMp3MountWithIcyMetadataAndTakesTitles) {
    if (!IcecastServer::Available()) GTEST_SKIP() << "icecast2 or ffmpeg not installed";
    IcecastServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    std::string headers = ReadHeaders(server.StreamUrl());
    EXPECT_NE(headers.find("icy-metaint:"), std::string::npos) << headers;
    EXPECT_TRUE(server.SetTitle("Artist - Song & More"));
}

}  // namespace
}  // namespace wt::test
