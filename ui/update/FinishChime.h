#pragma once
// The short chime the progress window plays when it closes, and the output it plays through.
#include <cstdint>
#include <memory>
#include <vector>

namespace wt {

inline constexpr int kFinishChimeRate = 22050;

// 16-bit mono PCM at 22050 samples per second, about 0.14 seconds: two decaying sine tones.
std::vector<int16_t> MakeFinishChime();

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts playing and returns at once; a failure to play is silent.
    virtual void PlayAsync(const std::vector<int16_t>& samples, int sampleRate) = 0;
};

class NullSoundOutput : public SoundOutput {
public:
    void PlayAsync(const std::vector<int16_t>&, int) override {}
};

// The desktop's sound server when one answers, otherwise nothing is heard.
std::shared_ptr<SoundOutput> MakeDefaultSoundOutput();

}  // namespace wt
