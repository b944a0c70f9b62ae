#pragma once
// A small HTTP/1.1 server on 127.0.0.1 (ephemeral port) that answers every request with a
// scripted response: any status line (also "ICY 200 OK"), headers, a body sent whole or in
// timed pieces, a delay, a stall, a body shorter than announced, or a dropped connection.
// One request per connection; every request is recorded.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace wt::test {

struct RecordedRequest {
    std::string method;
    std::string target;  // path and query exactly as sent
    std::vector<std::pair<std::string, std::string>> headers;
    // The first header with this name (ignoring case), or "".
    std::string Header(std::string_view name) const;
};

struct ScriptedResponse {
    std::string statusLine = "HTTP/1.1 200 OK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // Content-Length to announce; by default the body's size. Announcing more than the body
    // holds makes a short body: the connection closes after the body.
    std::optional<std::size_t> contentLength;
    bool announceLength = true;
    int delayMs = 0;                   // wait before the status line
    std::size_t chunkSize = 0;         // send the body in pieces of this size...
    int chunkDelayMs = 0;              // ...with this pause before each
    std::size_t stallAfter = SIZE_MAX; // body bytes to send before stalling until released
    bool stallBeforeHead = false;      // accept and read the request, then say nothing
    bool dropConnection = false;       // close without answering

    static ScriptedResponse Ok(std::string body, std::string contentType = "text/html");
    static ScriptedResponse Status(int code, std::string reason, std::string body = {});
    static ScriptedResponse Redirect(std::string location, int code = 302);
};

class LoopbackHttpServer {
public:
    using Handler = std::function<ScriptedResponse(const RecordedRequest&)>;

    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // Answers each request with the handler's response. Without a handler, routes answer
    // exact targets and anything else gets 404.
    void SetHandler(Handler handler);
    void Route(const std::string& target, ScriptedResponse response);

    std::uint16_t Port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by pathAndQuery.
    std::string Url(std::string_view pathAndQuery = "/") const;

    std::vector<RecordedRequest> Requests() const;
    std::size_t RequestCount() const;
    bool WaitForRequestCount(std::size_t count, int timeoutMs) const;
    // Lets every stalled response go on (a stall otherwise lasts until the server stops).
    void ReleaseStalls();

private:
    struct Connection;
    void AcceptLoop();
    void Serve(Connection& connection);
    ScriptedResponse Answer(const RecordedRequest& request);
    bool WaitFor(int ms);  // false when the server stops meanwhile
    void ReapFinished();   // needs mutex_

    int listenFd_ = -1;
    std::uint16_t port_ = 0;
    std::thread acceptThread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;                        // guarded by mutex_
    std::uint64_t releaseGeneration_ = 0;          // guarded by mutex_
    Handler handler_;                              // guarded by mutex_
    std::map<std::string, ScriptedResponse> routes_;  // guarded by mutex_
    std::vector<RecordedRequest> requests_;        // guarded by mutex_
    std::list<std::unique_ptr<Connection>> connections_;  // guarded by mutex_
};

}  // namespace wt::test
