#pragma once
// An Icecast source client for Ogg: sends a chained Ogg stream (songs made by ffmpeg, each
// with its own ARTIST and TITLE comments, one logical stream after the other) to a mount at
// real-time pace, over and over, so that the titles change in band as a station's do.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace wt::test {

struct OggSong {
    std::string artist;  // may be empty
    std::string title;
    double seconds = 4;
};

class OggSource {
public:
    // codec: "libvorbis" or "libopus". Makes the songs' files in folder (ffmpeg).
    OggSource(std::string folder, std::string codec, std::vector<OggSong> songs);
    ~OggSource() { Stop(); }
    OggSource(const OggSource&) = delete;
    OggSource& operator=(const OggSource&) = delete;

    // False when ffmpeg could not make the songs.
    bool Prepare(std::string& error);
    // Connects to the server's mount and starts sending; false when the server refused.
    bool Start(int port, const std::string& mount, const std::string& password, std::string& error);
    void Stop();
    // The bytes of song i as made (one logical stream).
    const std::string& Song(std::size_t i) const { return songBytes_[i]; }

private:
    void Send(int fd);

    std::string folder_;
    std::string codec_;
    std::vector<OggSong> songs_;
    std::vector<std::string> songBytes_;
    std::vector<double> pageTimes_;  // for the whole chain: when each page is due, in seconds
    std::vector<std::size_t> pageStarts_;
    std::string chain_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

}  // namespace wt::test
