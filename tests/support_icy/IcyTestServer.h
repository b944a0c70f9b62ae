#pragma once
// A scripted ICY station on 127.0.0.1 (ephemeral port). Every connection gets "ICY 200 OK"
// with `icy-metaint`, then the script: first one interval of audio before any title (a
// listener joins mid-song), then for every song its blocks, each a metadata block announcing
// the song's title followed by one interval of audio. The audio is a stream of MPEG-1 layer
// III frame headers (128 kbit/s, 44.1 kHz, padded now and then as an encoder does) with
// made-up payloads, starting inside a frame; the server knows where its frames start, so
// Song(i) is what a frame-exact rip must hold for song i, byte for byte.
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
    // many blocks of the script (the next connection goes on where the last one stopped, or,
    // with replayOnReconnect, first sends the last interval again, as Icecast's burst does).
    IcyTestServer(std::vector<IcySong> songs, std::size_t metaInt = 2048, int blockDelayMs = 0,
                  int dropAfterBlocks = 0, bool replayOnReconnect = false);
    ~IcyTestServer();

    int Port() const { return port_; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/stream"; }
    // The audio of song i: from the first frame that starts at or after its title to the
    // first frame of the next song (for the last song: to the end of the last whole frame).
    std::string Song(std::size_t i) const;
    // The audio sent before the first title.
    std::string Lead() const { return Audio(0); }
    int Connections() const { return connections_; }

private:
    std::string Audio(std::size_t block) const;
    // The first frame start at or after the stream position.
    std::size_t FrameAtOrAfter(std::size_t position) const;
    void Serve();
    void ServeClient(int fd);

    std::vector<IcySong> songs_;
    std::size_t metaInt_;
    int blockDelayMs_;
    int dropAfterBlocks_;
    bool replayOnReconnect_;
    std::string stream_;                    // every audio byte the script can send
    std::vector<std::size_t> frameStarts_;  // positions in stream_, ascending
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::size_t nextBlock_ = 0;  // server thread only: where the script goes on
    std::thread thread_;
};

}  // namespace wt::test
