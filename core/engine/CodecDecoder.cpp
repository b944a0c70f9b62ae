#include "engine/CodecDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace wt {

namespace {

std::int16_t FromFloat(float value) {
    if (!(value == value)) return 0;  // NaN
    return static_cast<std::int16_t>(std::lrint(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

// One sample of a channel as 16 bits, whatever the frame's sample format.
std::int16_t SampleAt(const AVFrame* frame, int channel, int index, int channels) {
    const auto format = static_cast<AVSampleFormat>(frame->format);
    const bool planar = av_sample_fmt_is_planar(format);
    const int plane = planar ? channel : 0;
    const int at = planar ? index : index * channels + channel;
    const std::uint8_t* data = frame->extended_data[plane];
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_FLT: return FromFloat(reinterpret_cast<const float*>(data)[at]);
    case AV_SAMPLE_FMT_DBL: return FromFloat(static_cast<float>(reinterpret_cast<const double*>(data)[at]));
    case AV_SAMPLE_FMT_S16: return reinterpret_cast<const std::int16_t*>(data)[at];
    case AV_SAMPLE_FMT_S32: return static_cast<std::int16_t>(reinterpret_cast<const std::int32_t*>(data)[at] >> 16);
    case AV_SAMPLE_FMT_U8: return static_cast<std::int16_t>((int(data[at]) - 128) << 8);
    default: return 0;
    }
}

}  // namespace

CodecDecoder::CodecDecoder(int codecId, const std::string& extra) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    const AVCodec* codec = avcodec_find_decoder(static_cast<AVCodecID>(codecId));
    if (!codec) return;
    context_ = avcodec_alloc_context3(codec);
    if (!context_) return;
    if (!extra.empty()) {
        context_->extradata = static_cast<std::uint8_t*>(av_mallocz(extra.size() + AV_INPUT_BUFFER_PADDING_SIZE));
        if (context_->extradata) {
            std::memcpy(context_->extradata, extra.data(), extra.size());
            context_->extradata_size = static_cast<int>(extra.size());
        }
    }
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (!packet_ || !frame_ || avcodec_open2(context_, codec, nullptr) < 0) avcodec_free_context(&context_);
}

CodecDecoder::~CodecDecoder() {
    avcodec_free_context(&context_);
    av_packet_free(&packet_);
    av_frame_free(&frame_);
}

bool CodecDecoder::Decode(const unsigned char* data, std::size_t size, std::atomic<long>& frames, PcmSink& pcm) {
    if (!context_ || size == 0 || size > (1u << 24)) return false;
    // The decoder reads a little past a packet's end: the packet gets its own padded copy.
    if (av_new_packet(packet_, static_cast<int>(size)) < 0) return false;
    std::memcpy(packet_->data, data, size);
    const int sent = avcodec_send_packet(context_, packet_);
    av_packet_unref(packet_);
    if (sent < 0) return false;
    while (avcodec_receive_frame(context_, frame_) == 0) {
        ++frames;
        Play(pcm);
        av_frame_unref(frame_);
    }
    return true;
}

void CodecDecoder::Play(PcmSink& pcm) {
    const int channels = frame_->ch_layout.nb_channels;
    const int count = frame_->nb_samples;
    if (channels <= 0 || channels > 8 || count <= 0 || frame_->sample_rate <= 0) return;
    samples_.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(channels));
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c) samples_[std::size_t(i) * channels + c] = SampleAt(frame_, c, i, channels);
    pcm.Play(samples_.data(), static_cast<std::size_t>(count), frame_->sample_rate, channels);
}

}  // namespace wt
