#include "engine/OggCutter.h"

#include "engine/OggComments.h"

#include <cstring>

namespace wt {

OggCutter::OggCutter(Sink sink, TitleSink titles) : sink_(std::move(sink)), titles_(std::move(titles)) {
    ogg_sync_init(&sync_);
}

OggCutter::~OggCutter() {
    DropStreamState();
    ogg_sync_clear(&sync_);
}

void OggCutter::DropStreamState() {
    if (streamState_) ogg_stream_clear(&stream_);
    streamState_ = false;
}

void OggCutter::Feed(const char* data, std::size_t size) {
    position_ += size;
    while (size > 0) {
        // libogg takes a long; feed in slices it can hold.
        const std::size_t slice = std::min<std::size_t>(size, 1 << 20);
        char* buffer = ogg_sync_buffer(&sync_, static_cast<long>(slice));
        if (!buffer) return;
        std::memcpy(buffer, data, slice);
        ogg_sync_wrote(&sync_, static_cast<long>(slice));
        data += slice;
        size -= slice;
        for (;;) {
            const unsigned char* at = sync_.data + sync_.returned;
            ogg_page page;
            const long result = ogg_sync_pageseek(&sync_, &page);
            if (result == 0) break;
            if (result < 0) {
                consumed_ += static_cast<std::uint64_t>(-result);
                unsyncedBytes_ += static_cast<std::size_t>(-result);
                synced_ = false;
                continue;
            }
            const std::uint64_t pagePosition = consumed_;
            consumed_ += static_cast<std::uint64_t>(result);
            unsyncedBytes_ = 0;
            synced_ = true;
            Page(at, static_cast<std::size_t>(result), pagePosition, page);
        }
    }
}

void OggCutter::Restart() {
    ogg_sync_reset(&sync_);
    consumed_ = position_;
    synced_ = false;
    unsyncedBytes_ = 0;
    // Header pages of a stream not yet read whole are dropped with the connection.
    holding_ = false;
    held_.clear();
    heldPages_.clear();
    lastWasBos_ = false;
    DropStreamState();
    restarted_ = true;
}

void OggCutter::Page(const unsigned char* data, std::size_t size, std::uint64_t position, const ogg_page& page) {
    const bool bos = ogg_page_bos(&page) != 0;
    // The BOS pages of the logical streams of one link come together, before any other page.
    if (bos && !lastWasBos_) BeginStream(position);
    lastWasBos_ = bos;
    if (!holding_) {
        sink_(reinterpret_cast<const char*>(data), size, position, true);
        return;
    }
    held_.append(reinterpret_cast<const char*>(data), size);
    heldPages_.emplace_back(position, size);
    ReadHeaders(page);
    if (holding_ && held_.size() > kMaxHeaderBytes) Release(false);
}

void OggCutter::BeginStream(std::uint64_t position) {
    if (holding_) Release(false);  // a stream with nothing but headers
    holding_ = true;
    streamStart_ = position;
    held_.clear();
    heldPages_.clear();
    codec_.reset();
    DropStreamState();
    packets_ = 0;
    title_.clear();
}

void OggCutter::ReadHeaders(const ogg_page& page) {
    const bool bos = ogg_page_bos(&page) != 0;
    if (!codec_) {
        // The first audio stream among the BOS pages is the one whose headers are read.
        if (!bos) return Release(false);  // no Vorbis or Opus in this link
        // A codec's first page holds its identification packet alone.
        const auto codec = OggCodecOfFirstPacket(page.body, static_cast<std::size_t>(page.body_len));
        if (!codec) return;
        codec_ = codec;
        serial_ = ogg_page_serialno(&page);
        ogg_stream_init(&stream_, static_cast<int>(serial_));
        streamState_ = true;
    }
    if (ogg_page_serialno(&page) != serial_) return;
    if (ogg_stream_pagein(&stream_, const_cast<ogg_page*>(&page)) != 0) return Release(false);
    ogg_packet packet;
    for (;;) {
        const int got = ogg_stream_packetout(&stream_, &packet);
        if (got == 0) return;
        if (got < 0) return Release(false);  // a page is missing
        ++packets_;
        if (packets_ == 2) {
            auto title = OggTitleOfComments(*codec_, packet.packet, static_cast<std::size_t>(packet.bytes));
            if (!title) return Release(false);
            title_ = *title;
        }
        if (packets_ == OggHeaderPackets(*codec_)) return Release(true);
    }
}

void OggCutter::Release(bool complete) {
    holding_ = false;
    DropStreamState();
    if (codec_) kind_ = codec_;
    if (complete) {
        const bool resent = restarted_ && held_ == headers_;
        restarted_ = false;
        headers_ = held_;
        if (resent) {
            held_.clear();
            heldPages_.clear();
            return;
        }
    }
    if (codec_) titles_(complete ? title_ : std::string(), streamStart_);
    std::size_t offset = 0;
    for (const auto& [position, size] : heldPages_) {
        sink_(held_.data() + offset, size, position, true);
        offset += size;
    }
    heldPages_.clear();
    held_.clear();
}

}  // namespace wt
