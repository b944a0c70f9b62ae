#include "IcyTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace wt::test {

namespace {
bool SendAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string MetaBlock(const std::string& title) {
    std::string text = "StreamTitle='" + title + "';StreamUrl='';";
    std::size_t length = (text.size() + 15) / 16;
    text.resize(length * 16, '\0');
    return std::string(1, static_cast<char>(length)) + text;
}
}  // namespace

IcyTestServer::IcyTestServer(std::vector<IcySong> songs, std::size_t metaInt, int blockDelayMs,
                             int dropAfterBlocks, bool replayOnReconnect)
    : songs_(std::move(songs)),
      metaInt_(metaInt),
      blockDelayMs_(blockDelayMs),
      dropAfterBlocks_(dropAfterBlocks),
      replayOnReconnect_(replayOnReconnect) {
    // Frames of 417 or 418 bytes (128 kbit/s at 44.1 kHz); payload bytes never 0xFF, so no
    // false frame sync hides in them. The stream starts 100 bytes into its first frame.
    std::size_t blocks = 3;
    for (const auto& song : songs_) blocks += static_cast<std::size_t>(song.blocks);
    const std::size_t skip = 100;
    std::uint32_t x = 12345u;
    std::string frames;
    for (std::size_t frame = 0; frames.size() < blocks * metaInt_ + skip + 1000; ++frame) {
        const bool padded = frame % 3 != 0;
        if (frames.size() >= skip) frameStarts_.push_back(frames.size() - skip);
        frames += std::string("\xFF\xFB", 2);
        frames += static_cast<char>(0x90 | (padded ? 0x02 : 0x00));
        frames += static_cast<char>(0x44);
        for (int i = 4; i < (padded ? 418 : 417); ++i) {
            x = x * 1103515245u + 12345u;
            unsigned char byte = static_cast<unsigned char>(x >> 24);
            frames += static_cast<char>(byte == 0xFF ? 0xFE : byte);
        }
    }
    stream_ = frames.substr(skip);
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    ::listen(listenFd_, 256);
    thread_ = std::thread([this] { Serve(); });
}

IcyTestServer::~IcyTestServer() {
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
}

std::string IcyTestServer::Audio(std::size_t block) const { return stream_.substr(block * metaInt_, metaInt_); }

std::size_t IcyTestServer::FrameAtOrAfter(std::size_t position) const {
    return *std::lower_bound(frameStarts_.begin(), frameStarts_.end(), position);
}

std::string IcyTestServer::Song(std::size_t i) const {
    std::size_t block = 1;
    for (std::size_t s = 0; s < i; ++s) block += static_cast<std::size_t>(songs_[s].blocks);
    const std::size_t start = FrameAtOrAfter(block * metaInt_);
    const std::size_t next = (block + static_cast<std::size_t>(songs_[i].blocks)) * metaInt_;
    std::size_t end;
    if (i + 1 < songs_.size()) {
        end = FrameAtOrAfter(next);
    } else {
        // The script ends inside a frame, which never completes.
        end = *(std::upper_bound(frameStarts_.begin(), frameStarts_.end(), next) - 1);
    }
    return stream_.substr(start, end - start);
}

void IcyTestServer::Serve() {
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ++connections_;
        ServeClient(fd);
        ::close(fd);
    }
}

void IcyTestServer::ServeClient(int fd) {
    // Read the request head (bounded).
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 8192 && !stop_) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    if (!SendAll(fd, "ICY 200 OK\r\nicy-name: Test\r\nicy-metaint: " + std::to_string(metaInt_) + "\r\n\r\n"))
        return;
    // Every connection starts with an interval of audio before its first metadata block.
    std::size_t total = 0;
    for (const auto& song : songs_) total += static_cast<std::size_t>(song.blocks);
    if (nextBlock_ > 0 && replayOnReconnect_) {
        if (!SendAll(fd, Audio(nextBlock_ - 1))) return;
    } else {
        if (!SendAll(fd, nextBlock_ == 0 ? Audio(0) : Audio(nextBlock_))) return;
        if (nextBlock_ > 0) ++nextBlock_;
    }
    int sent = 0;
    while (!stop_ && nextBlock_ < total + 1) {
        std::size_t index = nextBlock_ == 0 ? 1 : nextBlock_;
        // Which song does block `index` belong to?
        std::size_t first = 1, song = 0;
        while (index >= first + static_cast<std::size_t>(songs_[song].blocks)) {
            first += static_cast<std::size_t>(songs_[song].blocks);
            ++song;
        }
        if (!SendAll(fd, MetaBlock(songs_[song].title) + Audio(index))) return;
        nextBlock_ = index + 1;
        if (blockDelayMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(blockDelayMs_));
        if (dropAfterBlocks_ > 0 && ++sent >= dropAfterBlocks_) return;
    }
    // The script is over: keep the connection open and silent until the test ends.
    while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace wt::test
