#include "FinishChime.h"

#include "engine/AudioOutput.h"

#include <cmath>
#include <mutex>
#include <numbers>
#include <thread>

namespace wt {

std::vector<int16_t> MakeFinishChime() {
    const int count = kFinishChimeRate * 14 / 100;
    std::vector<int16_t> samples(count);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kFinishChimeRate;
        // A fifth (E6 over A5) with a quick attack and an exponential decay, so it ends quietly.
        const double attack = std::min(1.0, t / 0.004);
        const double envelope = attack * std::exp(-t * 22.0);
        const double tone = 0.6 * std::sin(2 * std::numbers::pi * 880.0 * t) +
                            0.4 * std::sin(2 * std::numbers::pi * 1318.5 * t);
        samples[i] = static_cast<int16_t>(std::lround(tone * envelope * 0.5 * 32767.0));
    }
    return samples;
}

namespace {

// Plays on a thread of its own so that the GUI never waits for the sound server. One sound at a
// time: a new one waits for the previous thread, which lasts a fraction of a second.
class AsyncSoundOutput : public SoundOutput {
public:
    ~AsyncSoundOutput() override {
        std::lock_guard lock(mutex_);
        if (worker_.joinable()) worker_.join();
    }
    void PlayAsync(const std::vector<int16_t>& samples, int sampleRate) override {
        std::lock_guard lock(mutex_);
        if (worker_.joinable()) worker_.join();
        worker_ = std::thread([samples, sampleRate] {
            // With no sound server the output is the null one: the sound is optional.
            OpenAudioOutput(sampleRate, 1)->Write(samples.data(), samples.size() * sizeof(int16_t));
        });
    }

private:
    std::mutex mutex_;
    std::thread worker_;  // guarded by mutex_
};

}  // namespace

std::shared_ptr<SoundOutput> MakeDefaultSoundOutput() { return std::make_shared<AsyncSoundOutput>(); }

}  // namespace wt
