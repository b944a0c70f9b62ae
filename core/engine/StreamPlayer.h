#pragma once
// Plays a station stream or a song file (MP3, AAC, Ogg Vorbis or Opus) on a thread of its
// own: the stream's decoder (see AudioDecoder) decodes, the audio output plays. Titles of a station are handed to the GUI thread through the dispatcher.
#include "platform/Dispatcher.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace wt {

class StreamPlayer {
public:
    using TitleEvent = std::function<void(const std::string& title)>;
    using FailureEvent = std::function<void()>;

    explicit StreamPlayer(Dispatcher& dispatcher);
    // Stops and waits for the thread (the dispatcher must be free or closed).
    ~StreamPlayer();
    StreamPlayer(const StreamPlayer&) = delete;
    StreamPlayer& operator=(const StreamPlayer&) = delete;

    TitleEvent OnTitle;  // set before PlayUrl; runs on the GUI thread
    // A station that ended before a single frame could be played (refused, not audio, gone);
    // not raised when the player was asked to stop. Runs on the GUI thread.
    FailureEvent OnFailure;

    void PlayUrl(const std::string& url);
    void PlayFile(const std::string& path);
    // Asks the thread to stop without waiting (it may be waiting for the GUI thread).
    void RequestStop() { stop_ = true; }
    void Stop();

    // Audio frames decoded so far, and whether the output is the null one (no sound server).
    long DecodedFrames() const { return frames_; }
    bool Finished() const { return finished_; }

private:
    void Run(const std::string& source, bool isFile);

    Dispatcher& dispatcher_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::atomic<long> frames_{0};
};

}  // namespace wt
