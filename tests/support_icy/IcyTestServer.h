#pragma once
// A scripted ICY station on 127.0.0.1 (ephemeral port). Every connection gets "ICY 200 OK"
// with `icy-metaint`, then the script: first one interval of audio before any title (a
// listener joins mid-song), then for every song its blocks, each a metadata block announcing
// the song's title followed by one interval of audio. The audio bytes of each song are known
// in advance (Song(i)), so tests can compare song files byte for byte.
#include <atomic>
#include <cstddef>
#include <string>
#include <thread>
#include <vector>

namespace wt::test {

struct IcySong {
    std::string title;
    int blocks = 1;
};

class IcyTestServer {
public:
    // blockDelayMs paces the stream; dropAfterBlocks > 0 closes every connection after that
    // many blocks of the script (the next connection goes on where the last one stopped).
    IcyTestServer(std::vector<IcySong> songs, std::size_t metaInt = 2048, int blockDelayMs = 0,
                  int dropAfterBlocks = 0);
    ~IcyTestServer();

    int Port() const { return port_; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/stream"; }
    // The audio bytes of song i, as the script sends them.
    std::string Song(std::size_t i) const;
    // The audio sent before the first title.
    std::string Lead() const { return Audio(0); }
    int Connections() const { return connections_; }

private:
    std::string Audio(std::size_t block) const;
    void Serve();
    void ServeClient(int fd);

    std::vector<IcySong> songs_;
    std::size_t metaInt_;
    int blockDelayMs_;
    int dropAfterBlocks_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::size_t nextBlock_ = 0;  // server thread only: where the script goes on
    std::thread thread_;
};

}  // namespace wt::test
