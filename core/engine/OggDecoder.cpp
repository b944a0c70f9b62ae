#include "engine/CodecDecoder.h"
#include "engine/OggComments.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <ogg/ogg.h>

#include <cstring>
#include <optional>
#include <vector>

namespace wt {

namespace {

// Vorbis's three header packets as libavcodec takes them: Xiph lacing of the first two sizes.
std::string VorbisSetup(const std::vector<std::string>& headers) {
    std::string extra(1, '\x02');
    for (std::size_t i = 0; i < 2; ++i) {
        std::size_t size = headers[i].size();
        for (; size >= 255; size -= 255) extra += '\xFF';
        extra += static_cast<char>(size);
    }
    for (const auto& header : headers) extra += header;
    return extra;
}

// Takes Ogg pages apart (libogg), follows the first Vorbis or Opus stream of each link of a
// chained stream, and decodes its packets with a decoder set up from its header packets.
class OggDecoder : public AudioDecoder {
public:
    explicit OggDecoder(InBandTitle titles) : titles_(std::move(titles)) { ogg_sync_init(&sync_); }
    ~OggDecoder() override {
        EndStream();
        ogg_sync_clear(&sync_);
    }

    bool Feed(const char* data, std::size_t size, std::atomic<long>& frames, const std::atomic<bool>& stop) override {
        char* buffer = ogg_sync_buffer(&sync_, static_cast<long>(size));
        if (!buffer) return false;
        std::memcpy(buffer, data, size);
        ogg_sync_wrote(&sync_, static_cast<long>(size));
        ogg_page page;
        while (!stop) {
            const int got = ogg_sync_pageout(&sync_, &page);
            if (got == 0) break;
            if (got < 0) continue;  // skipped bytes that were no page
            Page(page, frames);
        }
        return true;
    }

private:
    void EndStream() {
        if (stream_) ogg_stream_clear(&*stream_);
        stream_.reset();
        codec_.reset();
        headers_.clear();
        decoder_.reset();
    }

    void Page(ogg_page& page, std::atomic<long>& frames) {
        if (ogg_page_bos(&page)) {
            // A new link: its first Vorbis or Opus stream is the one played.
            if (!inBos_) EndStream();
            inBos_ = true;
            if (stream_) return;
            codec_ = OggCodecOfFirstPacket(page.body, static_cast<std::size_t>(page.body_len));
            if (!codec_) return;
            stream_.emplace();
            ogg_stream_init(&*stream_, ogg_page_serialno(&page));
        } else {
            inBos_ = false;
        }
        if (!stream_ || ogg_page_serialno(&page) != stream_->serialno) return;
        if (ogg_stream_pagein(&*stream_, &page) != 0) return;
        ogg_packet packet;
        int got;
        while ((got = ogg_stream_packetout(&*stream_, &packet)) != 0) {
            if (got < 0) continue;  // a gap: the next packet is whole again
            Packet(packet, frames);
        }
    }

    void Packet(const ogg_packet& packet, std::atomic<long>& frames) {
        const auto* data = packet.packet;
        const auto size = static_cast<std::size_t>(packet.bytes);
        if (headers_.size() < static_cast<std::size_t>(OggHeaderPackets(*codec_))) {
            headers_.emplace_back(reinterpret_cast<const char*>(data), size);
            if (headers_.size() == 2 && titles_) {
                auto title = OggTitleOfComments(*codec_, data, size);
                if (title && !title->empty()) titles_(*title);
            }
            if (headers_.size() == static_cast<std::size_t>(OggHeaderPackets(*codec_))) {
                if (*codec_ == AudioKind::Vorbis)
                    decoder_.emplace(AV_CODEC_ID_VORBIS, VorbisSetup(headers_));
                else
                    decoder_.emplace(AV_CODEC_ID_OPUS, headers_[0]);
            }
            return;
        }
        if (decoder_) decoder_->Decode(data, size, frames, pcm_);
    }

    InBandTitle titles_;
    ogg_sync_state sync_;
    bool inBos_ = false;
    std::optional<ogg_stream_state> stream_;
    std::optional<AudioKind> codec_;
    std::vector<std::string> headers_;
    std::optional<CodecDecoder> decoder_;
    PcmSink pcm_;
};

}  // namespace

std::unique_ptr<AudioDecoder> MakeOggDecoder(InBandTitle titles) { return std::make_unique<OggDecoder>(std::move(titles)); }

}  // namespace wt
