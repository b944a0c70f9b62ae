#pragma once
// Splits a compressed audio stream into whole frames, so that song files can be cut between
// frames. Bytes go in as they arrive; each whole frame comes out once its last byte is in,
// with the stream position of its first byte. Until the stream is in sync (a valid header
// followed by another of the same stream where the first one says) bytes are dropped; a
// stream that loses sync later hands the bytes up to the next frame on as non-frame bytes,
// so that nothing between the first frame and the last is lost.
#include "engine/AudioFrames.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wt {

class FrameCutter {
public:
    // isFrame is false for bytes between frames of a stream that lost its sync.
    using Sink = std::function<void(const char* data, std::size_t size, std::uint64_t position, bool isFrame)>;

    // kind: the stream's format, or none to accept whichever comes first.
    FrameCutter(std::optional<AudioKind> kind, Sink sink);

    void Feed(const char* data, std::size_t size);
    // The stream starts again elsewhere (a new connection): the frame in progress is dropped
    // and the cutter looks for a new sync.
    void Restart();

    // Whether next (the first bytes of a new connection) carries on the frame in progress
    // exactly: the next frame header of the same stream stands where the frame ends. A
    // server that resumes where it stopped passes; one that starts anywhere else does not.
    bool Continues(std::string_view next) const;

    // Bytes fed so far: the position that the next byte will have.
    std::uint64_t Position() const { return position_; }
    std::optional<AudioKind> Kind() const { return kind_; }
    bool InSync() const { return synced_; }
    // Bytes fed since the cutter was last in sync or restarted, without finding a frame.
    std::size_t BytesWithoutSync() const { return synced_ ? 0 : unsyncedBytes_; }

private:
    void Process();
    void Hunt();
    // Hands on (or drops) the first n bytes of the buffer.
    void Take(std::size_t n, bool isFrame, bool drop);
    std::optional<FrameHeader> HeaderAt(std::size_t at, std::optional<AudioKind> kind) const;

    std::optional<AudioKind> kind_;
    Sink sink_;
    // The bytes fed and not yet handed on are buffer_[start_...].
    const char* Data() const { return buffer_.data() + start_; }
    std::size_t Size() const { return buffer_.size() - start_; }
    std::string buffer_;
    std::size_t start_ = 0;
    std::uint64_t position_ = 0;    // stream position after the buffer's last byte
    bool synced_ = false;
    bool everSynced_ = false;       // since the last restart: a lost sync keeps the bytes
    std::uint32_t streamKey_ = 0;
    std::size_t unsyncedBytes_ = 0;
};

}  // namespace wt
