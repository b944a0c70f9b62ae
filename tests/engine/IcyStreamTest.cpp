// The stream receiver's transfer set-up, shared with the HTTP client: the schemes it takes,
// the proxy variables it ignores, and handlers' exceptions kept out of libcurl's frames.
#include "IcyTestServer.h"
#include "engine/IcyStream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

namespace wt {
namespace {

using test::IcyTestServer;

// Receives until the first audio arrives, then stops.
IcyStreamOutcome ReceiveSomeAudio(const std::string& url, std::string& audio) {
    IcyStreamHandlers handlers;
    handlers.onAudio = [&](const char* data, std::size_t size) { audio.append(data, size); };
    handlers.stopRequested = [&] { return !audio.empty(); };
    IcyStreamOptions options;
    options.connectTimeoutMs = 2000;
    return ReceiveIcyStream(url, handlers, options);
}

TEST(IcyStream, OnlyHttpAndHttpsAddressesAreOpened) {
    for (const char* url : {"file:///etc/passwd", "ftp://127.0.0.1/x", "gopher://127.0.0.1/"}) {
        std::string audio;
        EXPECT_EQ(ReceiveSomeAudio(url, audio).result, IcyStreamResult::BadUrl) << url;
        EXPECT_TRUE(audio.empty());
    }
}

TEST(IcyStream, ProxyVariablesOfTheEnvironmentAreNotUsed) {
    IcyTestServer station({{"One", 3}});
    // A proxy that refuses every connection: a receiver that used it would never connect.
    ::setenv("http_proxy", "http://127.0.0.1:1", 1);
    ::setenv("HTTP_PROXY", "http://127.0.0.1:1", 1);
    std::string audio;
    const IcyStreamOutcome outcome = ReceiveSomeAudio(station.Url(), audio);
    ::unsetenv("http_proxy");
    ::unsetenv("HTTP_PROXY");
    EXPECT_EQ(outcome.result, IcyStreamResult::Stopped) << outcome.reason;
    EXPECT_FALSE(audio.empty());
}

TEST(IcyStream, AHandlersExceptionEndsTheTransferAndReachesTheCaller) {
    IcyTestServer station({{"One", 50}}, 2048, 20);
    struct Failure : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    for (int where = 0; where < 3; ++where) {
        SCOPED_TRACE(where);
        IcyStreamHandlers handlers;
        int ticks = 0;
        handlers.onConnected = [&](const std::string&) { if (where == 0) throw Failure("connected"); };
        handlers.onAudio = [&](const char*, std::size_t) { if (where == 1) throw Failure("audio"); };
        handlers.onTick = [&] { if (where == 2 && ++ticks > 1) throw Failure("tick"); };
        EXPECT_THROW(ReceiveIcyStream(station.Url(), handlers), Failure);
    }
}

}  // namespace
}  // namespace wt
