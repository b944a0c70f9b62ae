// rip_load N SECONDS: rips N stations at once from a loopback station server at 128 kbit/s
// (16,000 bytes a second in one write, a metadata block every 16,000 bytes, a new title every
// 10 blocks) for SECONDS, then reports the ripping process's CPU seconds, peak RSS, song files
// and broken files. The server runs in a child process, so its CPU time is not counted. The
// audio is MPEG-1 layer III frames (417 bytes, 128 kbit/s at 44.1 kHz) whose payload bytes
// follow from the frame's number, so a song file with a frame missing, doubled, cut or out of
// place shows up; every song but each station's first and last must be whole.
//
// It understates a real server's cost: Icecast sends many small writes (one per source
// packet, a few hundred bytes) where this server sends one block a second, so the ripper here
// wakes up about 60 times less often. bench/engine/icecast_rip_bench.py measures against a
// real Icecast2.
#include "engine/NetRadio.h"
#include "platform/Dispatcher.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
constexpr std::size_t kMetaInt = 16000;
constexpr int kBlocksPerSong = 10;

constexpr std::size_t kFrameBytes = 417;

// Byte k of frame n of a connection's stream (bytes 0 to 3 are the frame header).
char AudioByte(std::uint64_t frame, std::size_t k) {
    static const char kHeader[4] = {'\xFF', '\xFB', '\x90', '\x44'};
    if (k < 4) return kHeader[k];
    return static_cast<char>((frame * 31 + k * 7) % 255);
}

// Whether the file is whole frames from start to end, each the next of the stream; the
// number of frames goes to *frames.
bool WholeFrames(const std::string& data, long* frames) {
    *frames = 0;
    if (data.size() % kFrameBytes != 0 || data.empty()) return false;
    // The first frame's number, modulo 255, from its payload.
    std::uint64_t first = 0;
    while (first < 255 && AudioByte(first, 4) != data[4]) ++first;
    for (std::size_t at = 0; at < data.size(); at += kFrameBytes, ++*frames)
        for (std::size_t k = 0; k < kFrameBytes; ++k)
            if (data[at + k] != AudioByte(first + static_cast<std::uint64_t>(*frames), k)) return false;
    return true;
}

void ServeStation(int fd) {
    char request[2048];
    if (::recv(fd, request, sizeof request, 0) <= 0) return;
    std::string head = "ICY 200 OK\r\nicy-metaint: " + std::to_string(kMetaInt) + "\r\n\r\n";
    if (::send(fd, head.data(), head.size(), MSG_NOSIGNAL) <= 0) return;
    std::string block(kMetaInt, '\0');
    auto next = std::chrono::steady_clock::now();
    std::uint64_t byte = 0;  // of the connection's audio
    for (long b = 0;; ++b) {
        long song = b / kBlocksPerSong;
        for (std::size_t i = 0; i < kMetaInt; ++i, ++byte) block[i] = AudioByte(byte / kFrameBytes, byte % kFrameBytes);
        std::string meta;
        if (b > 0) {  // the first interval of a connection comes before any title
            std::string text = "StreamTitle='Song " + std::to_string(song) + "';";
            std::size_t length = (text.size() + 15) / 16;
            text.resize(length * 16, '\0');
            meta = std::string(1, static_cast<char>(length)) + text;
        }
        std::string out = meta + block;
        if (::send(fd, out.data(), out.size(), MSG_NOSIGNAL) <= 0) return;
        next += std::chrono::seconds(1);
        std::this_thread::sleep_until(next);
    }
}

pid_t StartServer(int* port) {
    int listenFd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::listen(listenFd, 512);
    *port = ntohs(addr.sin_port);
    pid_t pid = ::fork();
    if (pid == 0) {
        for (;;) {
            int fd = ::accept(listenFd, nullptr, nullptr);
            if (fd < 0) continue;
            std::thread([fd] {
                ServeStation(fd);
                ::close(fd);
            }).detach();
        }
    }
    ::close(listenFd);
    return pid;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: rip_load N SECONDS\n");
        return 2;
    }
    int stations = std::atoi(argv[1]);
    int seconds = std::atoi(argv[2]);
    int port = 0;
    pid_t server = StartServer(&port);
    fs::path out = fs::temp_directory_path() / ("wt-rip-load-" + std::to_string(::getpid()));
    fs::remove_all(out);

    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    wt::QueueDispatcher dispatcher;
    int running = 0;
    {
        wt::TNetRadio radio(dispatcher);
        radio.OnChannelTerminating = [&](wt::TNetRadioChannel*) { --running; };
        std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
        for (int i = 0; i < stations; ++i) {
            radio.StartRip(url, (out / std::to_string(i + 1)).string() + "/", "");
            ++running;
        }
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) dispatcher.PumpFor(50);
        radio.StopAll();
        dispatcher.PumpUntil([&] { return running <= 0; }, 10000);
        dispatcher.Close();
    }
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    ::kill(server, SIGKILL);
    ::waitpid(server, nullptr, 0);

    auto cpu = [](const rusage& r) {
        return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
    };
    // Every file must be whole frames in stream order; every song between a station's first
    // (joined mid-way) and its last (cut by the stop) must hold all its frames.
    const long framesPerSong = static_cast<long>(kBlocksPerSong * kMetaInt / kFrameBytes);
    long files = 0, brokenFiles = 0, checkedSongs = 0;
    for (int i = 1; i <= stations; ++i) {
        for (const auto& entry : fs::directory_iterator(out / std::to_string(i))) {
            ++files;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string data((std::istreambuf_iterator<char>(in)), {});
            long song = std::atol(entry.path().stem().string().c_str() + 5);  // "Song K"
            long frames = 0;
            if (!WholeFrames(data, &frames)) {
                ++brokenFiles;
                continue;
            }
            if (song == 0 || song >= (seconds - 2) / kBlocksPerSong) continue;
            ++checkedSongs;
            if (frames < framesPerSong) ++brokenFiles;
        }
    }
    std::printf("stations %d, seconds %d: CPU %.2f s (%.2f %% of one core), peak RSS %ld MB, song files %ld, "
                "whole songs checked %ld, broken files %ld\n",
                stations, seconds, cpu(after) - cpu(before), 100.0 * (cpu(after) - cpu(before)) / seconds,
                after.ru_maxrss / 1024, files, checkedSongs, brokenFiles);
    fs::remove_all(out);
    return 0;
}
