#include "engine/AudioOutput.h"

#include <pulse/error.h>
#include <pulse/simple.h>

namespace wt {

namespace {

class PulseAudioOutput : public AudioOutput {
public:
    explicit PulseAudioOutput(pa_simple* stream) : stream_(stream) {}
    ~PulseAudioOutput() override {
        int error = 0;
        pa_simple_drain(stream_, &error);
        pa_simple_free(stream_);
    }
    void Write(const void* samples, std::size_t bytes) override {
        int error = 0;
        pa_simple_write(stream_, samples, bytes, &error);
    }

private:
    pa_simple* stream_;
};

}  // namespace

std::unique_ptr<AudioOutput> OpenAudioOutput(long rate, int channels) {
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PA_SAMPLE_S16LE;
    sampleFormat.rate = static_cast<std::uint32_t>(rate);
    sampleFormat.channels = static_cast<std::uint8_t>(channels);
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, "Wavetrap", PA_STREAM_PLAYBACK, nullptr, "playback", &sampleFormat,
                                      nullptr, nullptr, &error);
    if (!stream) return std::make_unique<NullAudioOutput>();
    return std::make_unique<PulseAudioOutput>(stream);
}

}  // namespace wt
