#include "OggTestStream.h"

#include <ogg/ogg.h>

#include <cstdint>
#include <random>

namespace wt::test {

namespace {

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string IdentPacket(AudioKind codec) {
    if (codec == AudioKind::Opus) {
        std::string p = "OpusHead";
        p += '\x01';  // version
        p += '\x02';  // channels
        p += std::string("\x38\x01", 2);  // pre-skip 312
        PutU32(p, 48000);
        p += std::string("\0\0\0", 3);  // gain, mapping family 0
        return p;
    }
    std::string p("\x01vorbis", 7);
    PutU32(p, 0);       // version
    p += '\x02';        // channels
    PutU32(p, 44100);
    PutU32(p, 0);
    PutU32(p, 128000);
    PutU32(p, 0);
    p += '\xB8';        // block sizes 256 / 2048
    p += '\x01';        // framing
    return p;
}

void AddPacket(ogg_stream_state& os, const std::string& data, bool bos, bool eos, std::int64_t granule, long number) {
    ogg_packet packet{};
    packet.packet = reinterpret_cast<unsigned char*>(const_cast<char*>(data.data()));
    packet.bytes = static_cast<long>(data.size());
    packet.b_o_s = bos;
    packet.e_o_s = eos;
    packet.granulepos = granule;
    packet.packetno = number;
    ogg_stream_packetin(&os, &packet);
}

void TakePages(ogg_stream_state& os, OggBytes& out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&os, &page) : ogg_stream_pageout(&os, &page)) {
        out.pageStarts.push_back(out.bytes.size());
        out.bytes.append(reinterpret_cast<char*>(page.header), page.header_len);
        out.bytes.append(reinterpret_cast<char*>(page.body), page.body_len);
    }
}

}  // namespace

std::string OggCommentPacket(AudioKind codec, const std::vector<std::string>& comments) {
    std::string p = codec == AudioKind::Opus ? std::string("OpusTags") : std::string("\x03vorbis", 7);
    const std::string vendor = "test encoder";
    PutU32(p, static_cast<std::uint32_t>(vendor.size()));
    p += vendor;
    PutU32(p, static_cast<std::uint32_t>(comments.size()));
    for (const auto& c : comments) {
        PutU32(p, static_cast<std::uint32_t>(c.size()));
        p += c;
    }
    if (codec == AudioKind::Vorbis) p += '\x01';
    return p;
}

OggBytes MakeOggLink(const OggLink& link, int serial) {
    OggBytes out;
    ogg_stream_state os;
    ogg_stream_init(&os, serial);
    std::mt19937 noise(static_cast<unsigned>(serial));
    long number = 0;
    AddPacket(os, IdentPacket(link.codec), true, false, 0, number++);
    TakePages(os, out, true);
    if (link.commentHeader) {
        AddPacket(os, OggCommentPacket(link.codec, link.comments), false, false, 0, number++);
        if (link.codec == AudioKind::Opus) TakePages(os, out, true);
    }
    if (link.codec == AudioKind::Vorbis) AddPacket(os, std::string("\x05vorbis", 7) + std::string(40, 'S'), false, false, 0, number++);
    TakePages(os, out, true);
    out.headerBytes = out.bytes.size();
    std::int64_t granule = 0;
    for (int page = 0; page < link.audioPages; ++page) {
        for (int i = 0; i < 10; ++i) {
            std::string packet(200, '\0');
            for (char& c : packet) c = static_cast<char>(noise());
            granule += 960;
            AddPacket(os, packet, false, page == link.audioPages - 1 && i == 9, granule, number++);
        }
        TakePages(os, out, true);
    }
    ogg_stream_clear(&os);
    return out;
}

}  // namespace wt::test
