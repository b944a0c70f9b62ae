#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>

#include "platform/StringList.h"

namespace wt::test {

struct LoopbackHttpServer::Connection {
    int fd = -1;
    std::atomic<bool> done{false};
    std::thread thread;
};

namespace {

bool SendAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string TrimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return std::string(s);
}

// Reads up to the blank line that ends the request head; false on a closed or silent peer.
bool ReadRequest(int fd, RecordedRequest& request) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        if (head.size() > 64 * 1024) return false;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        head.append(buffer, static_cast<size_t>(n));
    }
    head.resize(head.find("\r\n\r\n"));
    const std::vector<std::string> lines = SplitLines(head);
    if (lines.empty()) return false;
    const std::string& first = lines[0];
    const size_t a = first.find(' ');
    const size_t b = a == std::string::npos ? a : first.find(' ', a + 1);
    if (b == std::string::npos) return false;
    request.method = first.substr(0, a);
    request.target = first.substr(a + 1, b - a - 1);
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t colon = lines[i].find(':');
        if (colon != std::string::npos)
            request.headers.emplace_back(TrimSpaces(std::string_view(lines[i]).substr(0, colon)),
                                         TrimSpaces(std::string_view(lines[i]).substr(colon + 1)));
    }
    return true;
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (EqualsIgnoreCase(key, name)) return value;
    return {};
}

ScriptedResponse ScriptedResponse::Ok(std::string body, std::string contentType) {
    ScriptedResponse r;
    r.body = std::move(body);
    r.headers.emplace_back("Content-Type", std::move(contentType));
    return r;
}

ScriptedResponse ScriptedResponse::Status(int code, std::string reason, std::string body) {
    ScriptedResponse r;
    r.statusLine = "HTTP/1.1 " + std::to_string(code) + " " + reason;
    r.body = std::move(body);
    return r;
}

ScriptedResponse ScriptedResponse::Redirect(std::string location, int code) {
    ScriptedResponse r = Status(code, "Found");
    r.headers.emplace_back("Location", std::move(location));
    return r;
}

LoopbackHttpServer::LoopbackHttpServer() {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) throw std::runtime_error("socket failed");
    const int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 64) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(addr.sin_port);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    std::list<std::unique_ptr<Connection>> connections;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (auto& c : connections_) ::shutdown(c->fd, SHUT_RDWR);
    }
    changed_.notify_all();
    ::shutdown(listenFd_, SHUT_RDWR);
    acceptThread_.join();
    ::close(listenFd_);
    {
        std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (auto& c : connections) {
        c->thread.join();
        ::close(c->fd);
    }
}

void LoopbackHttpServer::SetHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

void LoopbackHttpServer::Route(const std::string& target, ScriptedResponse response) {
    std::lock_guard lock(mutex_);
    routes_[target] = std::move(response);
}

std::string LoopbackHttpServer::Url(std::string_view pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(pathAndQuery);
}

std::vector<RecordedRequest> LoopbackHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t LoopbackHttpServer::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

bool LoopbackHttpServer::WaitForRequestCount(std::size_t count, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return requests_.size() >= count; });
}

void LoopbackHttpServer::ReleaseStalls() {
    {
        std::lock_guard lock(mutex_);
        ++releaseGeneration_;
    }
    changed_.notify_all();
}

void LoopbackHttpServer::ReapFinished() {
    for (auto it = connections_.begin(); it != connections_.end();) {
        if ((*it)->done) {
            (*it)->thread.join();
            ::close((*it)->fd);
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
}

void LoopbackHttpServer::AcceptLoop() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        std::lock_guard lock(mutex_);
        if (fd < 0 || stopping_) {
            if (fd >= 0) ::close(fd);
            return;
        }
        ReapFinished();
        timeval readLimit{5, 0};  // a client that never sends its request does not pin a thread
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &readLimit, sizeof readLimit);
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        Connection& c = *connection;
        connections_.push_back(std::move(connection));
        c.thread = std::thread([this, &c] {
            Serve(c);
            ::shutdown(c.fd, SHUT_RDWR);
            c.done = true;
        });
    }
}

ScriptedResponse LoopbackHttpServer::Answer(const RecordedRequest& request) {
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        handler = handler_;
        if (!handler) {
            auto it = routes_.find(request.target);
            changed_.notify_all();
            return it != routes_.end() ? it->second : ScriptedResponse::Status(404, "Not Found");
        }
    }
    changed_.notify_all();
    return handler(request);
}

bool LoopbackHttpServer::WaitFor(int ms) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return stopping_; });
}

void LoopbackHttpServer::Serve(Connection& connection) {
    const int fd = connection.fd;
    RecordedRequest request;
    if (!ReadRequest(fd, request)) return;
    const ScriptedResponse r = Answer(request);
    if (r.dropConnection) return;
    if (r.delayMs > 0 && !WaitFor(r.delayMs)) return;

    auto stall = [&] {
        std::unique_lock lock(mutex_);
        const std::uint64_t generation = releaseGeneration_;
        changed_.wait(lock, [&] { return stopping_ || releaseGeneration_ != generation; });
        return !stopping_;
    };
    if (r.stallBeforeHead && !stall()) return;

    std::string head = r.statusLine + "\r\n";
    for (const auto& [key, value] : r.headers) head += key + ": " + value + "\r\n";
    if (r.announceLength)
        head += "Content-Length: " + std::to_string(r.contentLength.value_or(r.body.size())) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (!SendAll(fd, head)) return;

    std::string_view body = r.body;
    std::size_t sent = 0;
    while (!body.empty()) {
        std::size_t piece = r.chunkSize ? std::min(r.chunkSize, body.size()) : body.size();
        if (sent < r.stallAfter) piece = std::min(piece, r.stallAfter - sent);
        if (sent == r.stallAfter) {
            if (!stall()) return;
            piece = r.chunkSize ? std::min(r.chunkSize, body.size()) : body.size();
        }
        if (r.chunkDelayMs > 0 && !WaitFor(r.chunkDelayMs)) return;
        if (!SendAll(fd, body.substr(0, piece))) return;
        body.remove_prefix(piece);
        sent += piece;
    }
    if (r.stallAfter != SIZE_MAX && sent == r.stallAfter && sent == r.body.size()) stall();
}

}  // namespace wt::test
