#include "engine/OggComments.h"

#include "platform/StringList.h"
#include "platform/TextEncoding.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace wt {

namespace {

bool StartsWith(const unsigned char* p, std::size_t size, std::string_view magic) {
    return size >= magic.size() && std::memcmp(p, magic.data(), magic.size()) == 0;
}

// Reads the comment list after the codec's magic bytes, stopping at the first length that
// points past the packet.
class CommentReader {
public:
    CommentReader(const unsigned char* p, std::size_t size) : p_(p), size_(size) {}
    bool U32(std::uint32_t& value) {
        if (size_ - at_ < 4) return false;
        value = std::uint32_t(p_[at_]) | std::uint32_t(p_[at_ + 1]) << 8 | std::uint32_t(p_[at_ + 2]) << 16 |
                std::uint32_t(p_[at_ + 3]) << 24;
        at_ += 4;
        return true;
    }
    bool Text(std::string_view& text) {
        std::uint32_t length = 0;
        if (!U32(length) || length > size_ - at_) return false;
        text = std::string_view(reinterpret_cast<const char*>(p_ + at_), length);
        at_ += length;
        return true;
    }
    void Skip(std::size_t n) { at_ += n; }

private:
    const unsigned char* p_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::string Cleaned(std::string_view value) {
    std::string text = DecodeText(value);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<AudioKind> OggCodecOfFirstPacket(const unsigned char* packet, std::size_t size) {
    // Vorbis: type 1, "vorbis", then 23 bytes of stream parameters; Opus: "OpusHead", 19 bytes at least.
    if (StartsWith(packet, size, "\x01vorbis") && size >= 30) return AudioKind::Vorbis;
    if (StartsWith(packet, size, "OpusHead") && size >= 19) return AudioKind::Opus;
    return std::nullopt;
}

int OggHeaderPackets(AudioKind codec) { return codec == AudioKind::Vorbis ? 3 : 2; }

std::optional<std::string> OggTitleOfComments(AudioKind codec, const unsigned char* packet, std::size_t size) {
    const std::string_view magic = codec == AudioKind::Vorbis ? std::string_view("\x03vorbis", 7) : "OpusTags";
    if (!StartsWith(packet, size, magic)) return std::nullopt;
    CommentReader reader(packet, size);
    reader.Skip(magic.size());
    std::string_view vendor;
    std::uint32_t count = 0;
    if (!reader.Text(vendor) || !reader.U32(count)) return std::nullopt;
    std::optional<std::string_view> artist, title;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string_view comment;
        if (!reader.Text(comment)) return std::nullopt;
        const auto equals = comment.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = comment.substr(0, equals), value = comment.substr(equals + 1);
        if (!artist && EqualsIgnoreCase(key, "ARTIST")) artist = value;
        if (!title && EqualsIgnoreCase(key, "TITLE")) title = value;
    }
    if (!title) return std::string();
    std::string song = Cleaned(*title);
    if (song.empty()) return song;
    std::string by = artist ? Cleaned(*artist) : std::string();
    return by.empty() ? song : by + " - " + song;
}

}  // namespace wt
