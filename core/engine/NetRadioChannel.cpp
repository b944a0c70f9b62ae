#include "engine/NetRadioChannel.h"

#include "engine/IcyParser.h"
#include "engine/IcyStream.h"
#include "engine/SongFiles.h"
#include "platform/FileNames.h"
#include "platform/StringList.h"
#include "platform/TextEncoding.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

namespace wt {

namespace {
const char kConnecting[] = "Connecting...";
const char kConnected[] = "Connected";
const char kRipping[] = "Ripping";
const char kCantPlay[] = "Can't play this stream.";
const char kFileInUse[] = "Unable to create mp3 file! Stopped";
const char kStopped[] = "Stopped";
const char kWishFolder[] = "Wish List";
}  // namespace

TNetRadioChannel::TNetRadioChannel(std::int32_t id, const std::string& wishes, Dispatcher& dispatcher)
    : ID(id), dispatcher_(dispatcher) {
    for (auto& wish : SplitLines(wishes)) wishes_.push_back(std::move(wish));
}

TNetRadioChannel::~TNetRadioChannel() {
    Terminate();
    if (thread_.joinable()) thread_.join();
    std::lock_guard<std::mutex> lock(lock_);
    CloseSongFile();
}

void TNetRadioChannel::SetFolder(const std::string& folder) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        folder_ = WithTrailingSlash(folder);
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

void TNetRadioChannel::StartRip(const std::string& url) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        url_ = url;
    }
    thread_ = std::thread([this] { Body(); });
}

void TNetRadioChannel::Terminate() { terminated_ = true; }

std::string TNetRadioChannel::URL() const {
    std::lock_guard<std::mutex> lock(lock_);
    return url_;
}

std::string TNetRadioChannel::Folder() const {
    std::lock_guard<std::mutex> lock(lock_);
    return folder_;
}

bool TNetRadioChannel::IsWishChannel() const { return ContainsIgnoreCase(Folder(), "wish"); }

bool TNetRadioChannel::MatchesWish(const std::string& title) const {
    std::lock_guard<std::mutex> lock(lock_);
    for (const auto& wish : wishes_)
        if (!wish.empty() && ContainsIgnoreCase(title, wish)) return true;
    return false;
}

void TNetRadioChannel::SetStatus(const std::string& status) {
    if (status == lastStatus_) return;
    lastStatus_ = status;
    dispatcher_.Synchronize([this, &status] {
        if (OnStatus) OnStatus(this, status);
    });
}

void TNetRadioChannel::Pause(int ms) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!terminated_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void TNetRadioChannel::Body() {
    std::string url = URL();
    IcyStreamHandlers handlers;
    bool receivedAudio = false;
    handlers.onConnected = [this] {
        SetStatus(kConnected);
        SetStatus(kRipping);
    };
    handlers.onAudio = [this, &receivedAudio](const char* data, std::size_t size) {
        receivedAudio = true;
        HandleAudio(data, size);
    };
    handlers.onMeta = [this](const std::string& text) { HandleMeta(text); };
    handlers.stopRequested = [this] { return terminated_.load(); };

    SetStatus(kConnecting);
    IcyStreamResult result = ReceiveIcyStream(url, handlers);
    if (result == IcyStreamResult::ConnectFailed) SetStatus(kCantPlay);
    // A stream that broke off is reconnected a few times with a growing pause; the current
    // song's file stays open, so the song goes on in the same file when the station is back.
    int attempt = 0;
    while (result == IcyStreamResult::Ended && !terminated_ && attempt < kReconnectAttempts) {
        Pause(kReconnectPauseMs << attempt);
        if (terminated_) break;
        receivedAudio = false;
        result = ReceiveIcyStream(url, handlers);
        if (result == IcyStreamResult::ConnectFailed) result = IcyStreamResult::Ended;
        attempt = receivedAudio ? 0 : attempt + 1;
    }

    {
        std::lock_guard<std::mutex> lock(lock_);
        url_.clear();
    }
    SetStatus(kStopped);
    {
        std::lock_guard<std::mutex> lock(lock_);
        CloseSongFile();
    }
    dispatcher_.Synchronize([this] {
        if (OnTerminating) OnTerminating(this);
    });
    finished_ = true;
}

void TNetRadioChannel::HandleAudio(const char* data, std::size_t size) {
    // Once asked to stop, the rest of a received buffer is dropped.
    if (terminated_) return;
    std::int32_t kb;
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (lastTitle_.empty()) return;  // nothing is written before the first title
        if (fd_ >= 0) {
            std::size_t done = 0;
            while (done < size) {
                ssize_t n = ::write(fd_, data + done, size - done);
                if (n <= 0) break;
                done += static_cast<std::size_t>(n);
            }
        }
        songBytes_ += size;
        kb = static_cast<std::int32_t>(songBytes_ >> 10);
    }
    // Whole kilobytes of the song's running total; posted when the figure changes.
    if (kb == reportedKB_) return;
    reportedKB_ = kb;
    dispatcher_.Synchronize([this, kb] {
        if (OnProgress) OnProgress(ID, kb);
    });
}

void TNetRadioChannel::HandleMeta(const std::string& metadata) {
    if (terminated_) return;
    auto parsed = ExtractStreamTitle(metadata);
    if (!parsed) return;
    std::string title = DecodeText(*parsed);
    bool changed;
    {
        std::lock_guard<std::mutex> lock(lock_);
        changed = title != lastTitle_;
        if (changed) lastTitle_ = title;
    }
    if (changed && !SongChanged(title)) return;
    if (Folder().find(kWishFolder) == std::string::npos) return;
    if (MatchesWish(title)) return;
    // A wish rip keeps only wished songs: the first other song ends it and leaves no file.
    std::lock_guard<std::mutex> lock(lock_);
    std::string path = filePath_;
    CloseSongFile();
    if (!path.empty()) ::unlink(path.c_str());
    terminated_ = true;
}

bool TNetRadioChannel::SongChanged(const std::string& title) {
    ++songCount_;
    std::string path;
    {
        std::lock_guard<std::mutex> lock(lock_);
        songBytes_ = 0;
        CloseSongFile();
        path = folder_ + SanitizeFileName(title, ".mp3");
        if (!ClaimSongFile(path)) {
            terminated_ = true;
            path.clear();
        } else {
            fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd_ < 0) {
                ReleaseSongFile(path);
                return true;  // the song is lost, the rip goes on with the next title
            }
            filePath_ = path;
        }
    }
    reportedKB_ = -1;
    if (path.empty()) {
        SetStatus(kFileInUse);
        return false;
    }
    dispatcher_.Synchronize([this, &title] {
        if (OnNewSong) OnNewSong(this, title);
    });
    return true;
}

void TNetRadioChannel::CloseSongFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!filePath_.empty()) {
        ReleaseSongFile(filePath_);
        filePath_.clear();
    }
}

}  // namespace wt
