#pragma once
// The player's decoders: compressed audio goes in as it arrives, decoded frames go to the
// audio output, which is opened at the first format the stream tells (and again when it
// changes). MP3 is decoded by libmpg123; AAC (ADTS) and Ogg Vorbis/Opus by libavcodec, with
// Ogg pages taken apart by libogg. Nothing outside the engine's player sees these libraries.
#include "engine/AudioOutput.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace wt {

// Where decoded audio goes: interleaved signed 16-bit samples.
class PcmSink {
public:
    void Play(const std::int16_t* samples, std::size_t frames, long rate, int channels);

private:
    std::unique_ptr<AudioOutput> output_;
    long rate_ = 0;
    int channels_ = 0;
};

class AudioDecoder {
public:
    virtual ~AudioDecoder() = default;
    // Decodes what it can of the bytes and plays it; frames counts the decoded frames.
    // False when the stream cannot be decoded at all (then more bytes will not help).
    virtual bool Feed(const char* data, std::size_t size, std::atomic<long>& frames, const std::atomic<bool>& stop) = 0;
    // The stream has ended: whatever is still held is decoded.
    virtual void Finish(std::atomic<long>&, const std::atomic<bool>&) {}
};

// A title announced in the stream itself (an Ogg stream's comment header).
using InBandTitle = std::function<void(const std::string& title)>;

std::unique_ptr<AudioDecoder> MakeMp3Decoder();
std::unique_ptr<AudioDecoder> MakeAacDecoder();
std::unique_ptr<AudioDecoder> MakeOggDecoder(InBandTitle titles);
// Looks at the first bytes (and the Content-Type, "" for a file) and hands everything to the
// decoder of the kind they hold: Ogg, AAC in ADTS frames, else MP3.
std::unique_ptr<AudioDecoder> MakeDecoderForStream(std::string contentType, InBandTitle titles);

}  // namespace wt
