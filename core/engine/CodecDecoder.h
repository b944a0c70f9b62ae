#pragma once
// One libavcodec audio decoder (AAC, Vorbis, Opus): whole packets in, frames to the sound
// output as interleaved 16-bit samples.
#include "engine/AudioDecoder.h"

#include <atomic>
#include <string>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace wt {

class CodecDecoder {
public:
    // codecId: an AVCodecID; extra: the codec's setup bytes (may be empty).
    CodecDecoder(int codecId, const std::string& extra);
    ~CodecDecoder();
    CodecDecoder(const CodecDecoder&) = delete;
    CodecDecoder& operator=(const CodecDecoder&) = delete;

    bool Opened() const { return context_ != nullptr; }
    // Decodes one packet; a packet the decoder refuses is skipped (false).
    bool Decode(const unsigned char* data, std::size_t size, std::atomic<long>& frames, PcmSink& pcm);

private:
    void Play(PcmSink& pcm);
    AVCodecContext* context_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    std::basic_string<std::int16_t> samples_;
};

}  // namespace wt
