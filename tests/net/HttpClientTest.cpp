#include "net/HttpClient.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "LoopbackHttpServer.h"
#include "net/PumpedCall.h"

namespace wt::net {
namespace {

using test::LoopbackHttpServer;
using test::ScriptedResponse;

struct Collected {
    std::string body;
    BodySink Sink() {
        return [this](std::string_view bytes) {
            body.append(bytes);
            return true;
        };
    }
};

HttpErrorKind KindOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const HttpError& e) {
        EXPECT_NE(std::string(e.what()), "");
        return e.Kind();
    }
    ADD_FAILURE() << "no HttpError";
    return HttpErrorKind::Sink;
}

TEST(HttpClient, SendsHeadersAndDeliversBodyAndHead) {
    LoopbackHttpServer server;
    ScriptedResponse page = ScriptedResponse::Ok("hello world", "text/plain");
    page.headers.emplace_back("icy-metaint", "8192");
    server.Route("/a/b?x=1", page);
    HttpOptions options;
    options.userAgent = "Mozilla/3.0 (compatible; Indy Library)";
    options.headers = {"Accept: text/html, */*", "Content-Type: text/html"};
    HttpClient client(options);

    Collected got;
    HttpResponseHead seenBeforeBody;
    std::string bodyWhenHeadSeen = "unset";
    const HttpResponseHead head = client.Get(server.Url("/a/b?x=1"), got.Sink(), [&](const HttpResponseHead& h) {
        seenBeforeBody = h;
        bodyWhenHeadSeen = got.body;
    });

    EXPECT_EQ(got.body, "hello world");
    EXPECT_EQ(bodyWhenHeadSeen, "");
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(seenBeforeBody.Header("ICY-METAINT"), "8192");
    EXPECT_EQ(head.Header("content-type"), "text/plain");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/a/b?x=1");
    EXPECT_EQ(requests[0].Header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(requests[0].Header("Accept"), "text/html, */*");
    EXPECT_EQ(requests[0].Header("Content-Type"), "text/html");
}

TEST(HttpClient, AcceptsTheIcyStatusLineOfShoutcastServers) {
    LoopbackHttpServer server;
    ScriptedResponse icy = ScriptedResponse::Ok("mp3 bytes", "audio/mpeg");
    icy.statusLine = "ICY 200 OK";
    icy.headers.emplace_back("icy-metaint", "16000");
    server.Route("/stream", icy);
    HttpClient client;
    Collected got;
    const HttpResponseHead head = client.Get(server.Url("/stream"), got.Sink());
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.Header("icy-metaint"), "16000");
    EXPECT_EQ(got.body, "mp3 bytes");
}

TEST(HttpClient, EmptyBodySucceedsAndStillReportsTheHead) {
    LoopbackHttpServer server;
    server.Route("/empty", ScriptedResponse::Ok(""));
    HttpClient client;
    int heads = 0;
    Collected got;
    client.Get(server.Url("/empty"), got.Sink(), [&](const HttpResponseHead&) { ++heads; });
    EXPECT_EQ(heads, 1);
    EXPECT_EQ(got.body, "");
}

TEST(HttpClient, FollowsRedirectsWithinTheLimit) {
    LoopbackHttpServer server;
    server.Route("/old", ScriptedResponse::Redirect("/new"));
    server.Route("/new", ScriptedResponse::Ok("moved here"));
    server.Route("/loop", ScriptedResponse::Redirect("/loop"));
    HttpClient client;

    EXPECT_EQ(client.GetString(server.Url("/old")), "moved here");

    const size_t before = server.RequestCount();
    EXPECT_EQ(KindOf([&] { client.GetString(server.Url("/loop")); }), HttpErrorKind::Transfer);
    EXPECT_LE(server.RequestCount() - before, 6u);  // the first request and at most five more
}

TEST(HttpClient, FailuresBecomeErrorsOfTheirKindWithoutErrorBodies) {
    LoopbackHttpServer server;
    server.Route("/missing", ScriptedResponse::Status(404, "Not Found", "<html>error page</html>"));
    ScriptedResponse shortBody = ScriptedResponse::Ok("only part");
    shortBody.contentLength = 1000;
    server.Route("/short", shortBody);
    ScriptedResponse dropped;
    dropped.dropConnection = true;
    server.Route("/drop", dropped);
    server.Route("/to-file", ScriptedResponse::Redirect("file:///etc/passwd"));

    // A port that nothing listens on: bind one, then let it go.
    std::string refusedUrl;
    {
        LoopbackHttpServer gone;
        refusedUrl = gone.Url("/");
    }

    struct Case {
        std::string url;
        HttpErrorKind kind;
    };
    const Case cases[] = {
        {server.Url("/missing"), HttpErrorKind::HttpStatus},
        {server.Url("/short"), HttpErrorKind::Transfer},
        {server.Url("/drop"), HttpErrorKind::Transfer},
        {server.Url("/to-file"), HttpErrorKind::BadUrl},
        {refusedUrl, HttpErrorKind::Connect},
        {"file:///etc/passwd", HttpErrorKind::BadUrl},
        {"ftp://127.0.0.1/x", HttpErrorKind::BadUrl},
        {"127.0.0.1/no-scheme", HttpErrorKind::BadUrl},
    };
    HttpClient client;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        Collected got;
        EXPECT_EQ(KindOf([&] { client.Get(c.url, got.Sink()); }), c.kind);
        if (c.kind == HttpErrorKind::HttpStatus) {
            EXPECT_EQ(got.body, "");
        }
        if (c.url.ends_with("/short")) {
            EXPECT_EQ(got.body, "only part");
        }
    }
    try {
        client.GetString(server.Url("/missing"));
    } catch (const HttpError& e) {
        EXPECT_EQ(e.Status(), 404);
        EXPECT_NE(std::string(e.what()).find("404"), std::string::npos);
    }
}

TEST(HttpClient, StallTimeoutEndsASilentTransferKeepingWhatArrived) {
    LoopbackHttpServer server;
    ScriptedResponse stalls = ScriptedResponse::Ok("first part|second part");
    stalls.stallAfter = 11;
    server.Route("/stall", stalls);
    ScriptedResponse silent;
    silent.stallBeforeHead = true;
    server.Route("/silent", silent);
    HttpOptions options;
    options.stallTimeoutMs = 300;
    HttpClient client(options);

    Collected got;
    EXPECT_EQ(KindOf([&] { client.Get(server.Url("/stall"), got.Sink()); }), HttpErrorKind::Timeout);
    EXPECT_EQ(got.body, "first part|");
    EXPECT_EQ(KindOf([&] { client.GetString(server.Url("/silent")); }), HttpErrorKind::Timeout);
}

TEST(HttpClient, CancelFromAnotherThreadStopsARunningRequestPromptly) {
    LoopbackHttpServer server;
    ScriptedResponse stalls = ScriptedResponse::Ok("x");
    stalls.stallBeforeHead = true;
    server.Route("/stall", stalls);
    HttpClient client;

    std::thread canceller([&] {
        ASSERT_TRUE(server.WaitForRequestCount(1, 5000));
        client.Cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(KindOf([&] { client.GetString(server.Url("/stall")); }), HttpErrorKind::Cancelled);
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));

    // Cancelled stays in force until reset; after that the client works again.
    server.Route("/ok", ScriptedResponse::Ok("fine"));
    EXPECT_EQ(KindOf([&] { client.GetString(server.Url("/ok")); }), HttpErrorKind::Cancelled);
    client.ResetCancel();
    EXPECT_EQ(client.GetString(server.Url("/ok")), "fine");
}

TEST(HttpClient, AbortCallbackAndSinkCanStopTheRequest) {
    LoopbackHttpServer server;
    ScriptedResponse slow = ScriptedResponse::Ok(std::string(4000, 'a'));
    slow.chunkSize = 1000;
    slow.chunkDelayMs = 30;
    server.Route("/slow", slow);
    HttpClient client;

    HttpOptions options;
    std::atomic<bool> stop{false};
    options.abort = [&] { return stop.load(); };
    Collected got;
    EXPECT_EQ(KindOf([&] {
                  client.Get(server.Url("/slow"), [&](std::string_view b) {
                      got.body.append(b);
                      stop = true;
                      return true;
                  }, options);
              }),
              HttpErrorKind::Cancelled);
    EXPECT_LT(got.body.size(), 4000u);

    EXPECT_EQ(KindOf([&] { client.Get(server.Url("/slow"), [](std::string_view) { return false; }); }),
              HttpErrorKind::Cancelled);

    // An exception from the sink reaches the caller unchanged.
    EXPECT_THROW(client.Get(server.Url("/slow"), [](std::string_view) -> bool { throw std::logic_error("disk"); }),
                 std::logic_error);
}

TEST(HttpClient, KeepsCookiesBetweenRequests) {
    LoopbackHttpServer server;
    ScriptedResponse login = ScriptedResponse::Ok("in");
    login.headers.emplace_back("Set-Cookie", "session=abc123; Path=/");
    server.Route("/login", login);
    server.Route("/page", ScriptedResponse::Ok("page"));
    HttpClient client;
    client.GetString(server.Url("/login"));
    client.GetString(server.Url("/page"));
    EXPECT_EQ(server.Requests().at(1).Header("Cookie"), "session=abc123");
}

TEST(HttpClient, GetToFileWritesTheBodyAndFailsOnAnUnwritablePath) {
    LoopbackHttpServer server;
    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes += static_cast<char>(i * 7);
    server.Route("/upd.db", ScriptedResponse::Ok(bytes, "application/octet-stream"));
    const auto dir = std::filesystem::temp_directory_path() / ("wt-net-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "tmpdb.db").string();
    HttpClient client;

    client.GetToFile(server.Url("/upd.db"), path);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);

    EXPECT_EQ(KindOf([&] { client.GetToFile(server.Url("/upd.db"), (dir / "no/such/dir/x").string()); }),
              HttpErrorKind::Sink);
    std::filesystem::remove_all(dir);
}

TEST(RunWhilePumping, PumpsUntilTheWorkEndsAndRethrowsItsError) {
    LoopbackHttpServer server;
    ScriptedResponse slow = ScriptedResponse::Ok("late");
    slow.delayMs = 200;
    server.Route("/slow", slow);
    HttpClient client;

    std::string body;
    int pumps = 0;
    RunWhilePumping([&] { body = client.GetString(server.Url("/slow")); }, [&] { ++pumps; });
    EXPECT_EQ(body, "late");
    EXPECT_GT(pumps, 3);

    // The GUI's pump decides to cancel: the call returns with the client's error.
    ScriptedResponse stalls;
    stalls.stallBeforeHead = true;
    server.Route("/stall", stalls);
    EXPECT_THROW(RunWhilePumping([&] { client.GetString(server.Url("/stall")); },
                                 [&] {
                                     if (server.RequestCount() >= 2) client.Cancel();
                                 }),
                 HttpError);
}

}  // namespace
}  // namespace wt::net
