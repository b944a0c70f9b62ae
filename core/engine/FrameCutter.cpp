#include "engine/FrameCutter.h"

namespace wt {

namespace {
// Longer than any frame of either format (ADTS frames reach 8191 bytes), so a sync search
// that finds nothing in this many bytes can let the older bytes go.
constexpr std::size_t kLongestFrame = 8192;
}  // namespace

FrameCutter::FrameCutter(std::optional<AudioKind> kind, Sink sink) : kind_(kind), sink_(std::move(sink)) {}

void FrameCutter::Feed(const char* data, std::size_t size) {
    buffer_.append(data, size);
    position_ += size;
    if (!synced_) unsyncedBytes_ += size;
    Process();
    // Handed-on bytes leave the buffer once per call, not once per frame.
    buffer_.erase(0, start_);
    start_ = 0;
}

void FrameCutter::Restart() {
    buffer_.clear();
    start_ = 0;
    synced_ = false;
    everSynced_ = false;
    unsyncedBytes_ = 0;
}

bool FrameCutter::Continues(std::string_view next) const {
    if (!synced_ || !kind_) return false;
    std::size_t rest = 0;
    if (Size() > 0) {
        auto header = HeaderAt(0, kind_);
        if (!header) return false;
        rest = header->length - Size();
    }
    if (next.size() < rest + FrameHeaderBytes(*kind_)) return false;
    auto following = ParseFrameHeader(*kind_, reinterpret_cast<const std::uint8_t*>(next.data()) + rest,
                                      next.size() - rest);
    return following && following->streamKey == streamKey_;
}

std::optional<FrameHeader> FrameCutter::HeaderAt(std::size_t at, std::optional<AudioKind> kind) const {
    const auto* p = reinterpret_cast<const std::uint8_t*>(Data()) + at;
    const std::size_t left = Size() - at;
    if (kind) return ParseFrameHeader(*kind, p, left);
    if (auto mp3 = ParseFrameHeader(AudioKind::Mp3, p, left)) return mp3;
    return ParseFrameHeader(AudioKind::Aac, p, left);
}

void FrameCutter::Take(std::size_t n, bool isFrame, bool drop) {
    if (n == 0) return;
    if (!drop) sink_(Data(), n, position_ - Size(), isFrame);
    start_ += n;
}

void FrameCutter::Process() {
    for (;;) {
        if (!synced_) {
            Hunt();
            if (!synced_) return;
        }
        auto header = HeaderAt(0, kind_);
        if (!header) {
            if (Size() < FrameHeaderBytes(*kind_)) return;
            synced_ = false;  // lost: the bytes up to the next frame are kept as they are
            unsyncedBytes_ = Size();
            continue;
        }
        if (header->streamKey != streamKey_) {
            synced_ = false;
            unsyncedBytes_ = Size();
            continue;
        }
        if (Size() < header->length) return;
        Take(header->length, true, false);
    }
}

void FrameCutter::Hunt() {
    // A candidate frame counts when the next header, where it says, belongs to the same stream.
    std::size_t at = 0;
    for (; at < Size(); ++at) {
        if (static_cast<unsigned char>(Data()[at]) != 0xFF) continue;
        auto header = HeaderAt(at, kind_);
        if (!header) {
            // Too few bytes to read the header: wait for them.
            if (Size() - at < 7) break;
            continue;
        }
        std::size_t next = at + header->length;
        if (next + FrameHeaderBytes(header->kind) > Size()) break;  // wait for more
        auto following = HeaderAt(next, header->kind);
        if (!following || following->streamKey != header->streamKey) continue;
        Take(at, false, !everSynced_);
        kind_ = header->kind;
        streamKey_ = header->streamKey;
        synced_ = true;
        everSynced_ = true;
        unsyncedBytes_ = 0;
        return;
    }
    // No frame starts before `at`; a candidate at `at` waits for its following header.
    std::size_t keep = Size() - at;
    if (keep > 2 * kLongestFrame) at = Size() - 2 * kLongestFrame;
    Take(at, false, !everSynced_);
}

}  // namespace wt
