#include "OggSource.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace wt::test {

namespace {

std::uint64_t Le(const std::string& bytes, std::size_t at, int n) {
    std::uint64_t value = 0;
    for (int i = n - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::string Base64(const std::string& text) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 3) {
        std::uint32_t v = std::uint32_t(static_cast<unsigned char>(text[i])) << 16;
        if (i + 1 < text.size()) v |= std::uint32_t(static_cast<unsigned char>(text[i + 1])) << 8;
        if (i + 2 < text.size()) v |= static_cast<unsigned char>(text[i + 2]);
        out += digits[v >> 18 & 63];
        out += digits[v >> 12 & 63];
        out += i + 1 < text.size() ? digits[v >> 6 & 63] : '=';
        out += i + 2 < text.size() ? digits[v & 63] : '=';
    }
    return out;
}

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

OggSource::OggSource(std::string folder, std::string codec, std::vector<OggSong> songs)
    : folder_(std::move(folder)), codec_(std::move(codec)), songs_(std::move(songs)) {}

bool OggSource::Prepare(std::string& error) {
    double offset = 0;
    for (std::size_t i = 0; i < songs_.size(); ++i) {
        const auto& song = songs_[i];
        const std::string path = folder_ + "/song" + std::to_string(i) + ".ogg";
        // Noise, so that doubled audio would show; each song a serial number of its own.
        std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i anoisesrc=color=pink:amplitude=0.3:"
                              "sample_rate=48000:duration=" + std::to_string(song.seconds) + " -ac 2 -c:a " + codec_ +
                              " -b:a 64k -serial_offset " + std::to_string(1000 + 7 * i) + " -metadata TITLE=" +
                              Quoted(song.title);
        if (!song.artist.empty()) command += " -metadata ARTIST=" + Quoted(song.artist);
        command += " -f ogg " + Quoted(path);
        if (std::system(command.c_str()) != 0) {
            error = "ffmpeg could not make " + path;
            return false;
        }
        std::ifstream in(path, std::ios::binary);
        songBytes_.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const std::string& bytes = songBytes_.back();
        // Each page is due when the audio before it has played: its granule position says how
        // much audio the stream holds up to its end (48 kHz for Opus and for these Vorbis songs).
        double last = 0;
        for (std::size_t at = 0; at + 27 <= bytes.size();) {
            const std::size_t segments = static_cast<unsigned char>(bytes[at + 26]);
            std::size_t size = 27 + segments;
            for (std::size_t s = 0; s < segments; ++s) size += static_cast<unsigned char>(bytes[at + 27 + s]);
            pageStarts_.push_back(chain_.size() + at);
            pageTimes_.push_back(offset + last);
            const auto granule = static_cast<std::int64_t>(Le(bytes, at + 6, 8));
            if (granule > 0) last = static_cast<double>(granule) / 48000.0;
            at += size;
        }
        chain_ += bytes;
        offset += song.seconds;
    }
    pageStarts_.push_back(chain_.size());
    return true;
}

bool OggSource::Start(int port, const std::string& mount, const std::string& password, std::string& error) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        if (fd >= 0) close(fd);
        error = "cannot connect to icecast2";
        return false;
    }
    const std::string request = "SOURCE " + mount + " HTTP/1.0\r\nAuthorization: Basic " +
                                Base64("source:" + password) +
                                "\r\nContent-Type: application/ogg\r\nIce-Public: 0\r\n\r\n";
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    char answer[512] = {};
    timeval timeout{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const ssize_t got = recv(fd, answer, sizeof answer - 1, 0);
    if (got <= 0 || std::string(answer).find(" 200") == std::string::npos) {
        close(fd);
        error = "icecast2 refused the Ogg source: " + std::string(answer);
        return false;
    }
    stop_ = false;
    thread_ = std::thread([this, fd] { Send(fd); });
    return true;
}

void OggSource::Send(int fd) {
    const double cycle = pageTimes_.empty() ? 0 : [&] {
        double total = 0;
        for (const auto& song : songs_) total += song.seconds;
        return total;
    }();
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; !stop_; ++round) {
        for (std::size_t page = 0; page + 1 < pageStarts_.size() && !stop_; ++page) {
            const auto due = start + std::chrono::duration<double>(round * cycle + pageTimes_[page]);
            while (!stop_ && std::chrono::steady_clock::now() < due)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const std::size_t size = pageStarts_[page + 1] - pageStarts_[page];
            if (send(fd, chain_.data() + pageStarts_[page], size, MSG_NOSIGNAL) != static_cast<ssize_t>(size)) {
                stop_ = true;
            }
        }
    }
    close(fd);
}

void OggSource::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

}  // namespace wt::test
