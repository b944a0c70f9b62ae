#pragma once
// Splits an Ogg stream (Vorbis or Opus) into whole pages, so that song files can be cut
// between pages, and reads each logical stream's title from its comment header. Bytes go in
// as they arrive; each page whose checksum holds comes out once its last byte is in, with
// the stream position of its first byte. Bytes that are not part of such a page are dropped.
//
// A logical stream (the first of a chained stream, and each one chained after it) starts
// with its header pages. They are held back until the codec's header packets are complete,
// then the stream's title is announced with the position of its first page, and the held
// pages follow. After Restart (a new connection), header pages equal to those of the stream
// in progress are dropped: the server resends them to every listener.
#include "engine/AudioFrames.h"

#include <ogg/ogg.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wt {

class OggCutter {
public:
    // Each page: isFrame is always true.
    using Sink = std::function<void(const char* data, std::size_t size, std::uint64_t position, bool isFrame)>;
    // A logical stream starts at position, announcing title ("" when it names none).
    using TitleSink = std::function<void(const std::string& title, std::uint64_t position)>;

    // Header pages held back at most: a comment larger than this (pictures) announces no title.
    static constexpr std::size_t kMaxHeaderBytes = 4 * 1024 * 1024;

    OggCutter(Sink sink, TitleSink titles);
    ~OggCutter();
    OggCutter(const OggCutter&) = delete;
    OggCutter& operator=(const OggCutter&) = delete;

    void Feed(const char* data, std::size_t size);
    // The stream starts again elsewhere: the page in progress is dropped.
    void Restart();

    std::uint64_t Position() const { return position_; }
    // The codec of the logical stream in progress, once its first page has been seen.
    std::optional<AudioKind> Kind() const { return kind_; }
    bool InSync() const { return synced_; }
    // Bytes fed since the last whole page (or the last restart) without finding one.
    std::size_t BytesWithoutSync() const { return unsyncedBytes_; }

private:
    void Page(const unsigned char* data, std::size_t size, std::uint64_t position, const ogg_page& page);
    void BeginStream(std::uint64_t position);
    void ReadHeaders(const ogg_page& page);
    void Release(bool announce);
    void DropStreamState();

    Sink sink_;
    TitleSink titles_;
    ogg_sync_state sync_;
    std::uint64_t position_ = 0;   // bytes fed
    std::uint64_t consumed_ = 0;   // bytes taken out of the sync buffer
    std::size_t unsyncedBytes_ = 0;
    bool synced_ = false;
    std::optional<AudioKind> kind_;

    // The logical stream whose headers are being read.
    bool holding_ = false;
    bool lastWasBos_ = false;
    std::uint64_t streamStart_ = 0;
    std::string held_;             // its pages so far, one after the other
    std::vector<std::pair<std::uint64_t, std::size_t>> heldPages_;  // their positions and sizes
    std::optional<AudioKind> codec_;
    long serial_ = 0;
    bool streamState_ = false;     // stream_ is initialised
    ogg_stream_state stream_;
    int packets_ = 0;
    std::string title_;

    std::string headers_;          // header pages of the stream in progress
    bool restarted_ = false;       // since the last restart, no stream's headers were read
};

}  // namespace wt
