#pragma once
// Where decoded audio goes: the desktop's sound server, or nowhere when there is none (a
// headless machine, CI). Playback may fail; ripping never depends on it.
#include <cstddef>
#include <memory>

namespace wt {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Plays interleaved signed 16-bit samples; blocks while the device's buffer is full.
    virtual void Write(const void* samples, std::size_t bytes) = 0;
    virtual bool IsNull() const { return false; }
};

// Discards the samples (and counts them), at no cost.
class NullAudioOutput : public AudioOutput {
public:
    void Write(const void*, std::size_t bytes) override { written += bytes; }
    bool IsNull() const override { return true; }
    std::size_t written = 0;
};

// PulseAudio when a server answers, otherwise a NullAudioOutput.
std::unique_ptr<AudioOutput> OpenAudioOutput(long rate, int channels);

}  // namespace wt
