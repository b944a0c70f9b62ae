#include "engine/NetRadioChannel.h"

#include "engine/IcyParser.h"
#include "engine/IcyStream.h"
#include "engine/SongFiles.h"
#include "engine/StreamKind.h"
#include "platform/FileNames.h"
#include "platform/StringList.h"
#include "platform/TextEncoding.h"

#include <algorithm>

namespace wt {

namespace {
const char kConnecting[] = "Connecting...";
const char kConnected[] = "Connected";
const char kRipping[] = "Ripping";
const char kReconnecting[] = "Reconnecting...";
const char kCantPlay[] = "Can't play this stream.";
const char kDiskFull[] = "Disk full. Stopped";
const char kStopped[] = "Stopped";

// Progress is posted at most this often per rip (and when a song starts).
constexpr auto kProgressInterval = std::chrono::milliseconds(1000);
constexpr auto kFlushInterval = std::chrono::seconds(1);
// Bytes looked at for a web page or playlist in place of audio.
constexpr std::size_t kSniffBytes = 64;
// How far into a wish rip its server's burst of past audio may reach: Icecast sends 64 KB by
// default; twice that covers servers set a little higher.
constexpr std::uint64_t kWishBurstBytes = 128 * 1024;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool HasWish(const std::string& wishes) {
    for (const auto& line : SplitLines(wishes))
        if (!line.empty()) return true;
    return false;
}
}  // namespace

TNetRadioChannel::TNetRadioChannel(std::int32_t id, const std::string& wishes, Dispatcher& dispatcher,
                                   const RipOptions& options)
    : ID(id),
      dispatcher_(dispatcher),
      options_(options),
      wishRip_(HasWish(wishes)),
      replay_({[this](bool seamless, std::string_view next) {
                   if (!seamless && !cutter_.Continues(next)) cutter_.Restart();
               },
               [this](const char* data, std::size_t size) { cutter_.Feed(data, size); },
               [this](const std::string& text) { TitleText(text); }}),
      cutter_([this](const char* data, std::size_t size, std::uint64_t position,
                     bool isFrame) { Frame(data, size, position, isFrame); },
               [this](const std::string& title, std::uint64_t position) { Announce(title, position); }),
      writer_(options_.Files()) {
    for (auto& wish : SplitLines(wishes)) wishes_.push_back(std::move(wish));
}

TNetRadioChannel::~TNetRadioChannel() {
    Terminate();
    if (thread_.joinable()) thread_.join();
}

void TNetRadioChannel::SetFolder(const std::string& folder) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        folder_ = WithTrailingSlash(folder);
    }
    // A folder that cannot be made shows when the first song is written into it.
    static_cast<void>(options_.Files().CreateFolders(folder));
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

std::string TNetRadioChannel::SongFile() const {
    std::lock_guard<std::mutex> lock(lock_);
    return songFile_;
}

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

void TNetRadioChannel::Abort(const std::string& status) {
    abort_ = true;
    SetStatus(status);
}

void TNetRadioChannel::Pause(int ms) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!terminated_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void TNetRadioChannel::Body() {
    const std::string url = URL();
    IcyStreamHandlers handlers;
    handlers.onConnected = [this](const std::string& contentType) { ConnectionOpened(contentType); };
    handlers.onAudio = [this](const char* data, std::size_t size) { ReceivedAudio(data, size); };
    handlers.onMeta = [this](const std::string& text) {
        if (!StopNow()) replay_.Meta(text);
    };
    handlers.stopRequested = [this] { return StopNow(); };
    handlers.onTick = [this] { Tick(); };
    IcyStreamOptions streamOptions;
    streamOptions.connectTimeoutMs = options_.connectTimeoutMs;
    streamOptions.stallSeconds = options_.stallSeconds;
    streamOptions.readPauseMs = options_.readPauseMs;
    streamOptions.firstByteTimeoutMs = options_.firstByteTimeoutMs;

    SetStatus(kConnecting);
    // Connections that failed one after the other; a connection that delivers audio resets it.
    int failures = 0;
    for (;;) {
        connectionAudio_ = false;
        sniffed_.clear();
        // A server may start a new connection with audio it sent before.
        if (everReceived_) replay_.Reconnected();
        IcyStreamOutcome outcome = ReceiveIcyStream(url, handlers, streamOptions);
        if (!abort_) replay_.Finish();
        if (StopNow()) break;
        if (outcome.result == IcyStreamResult::BadUrl) {
            SetStatus(kCantPlay);
            break;
        }
        failures = connectionAudio_ ? 0 : failures + 1;
        if (!everReceived_ && failures >= options_.firstConnectAttempts) {
            SetStatus(kCantPlay);
            break;
        }
        SetStatus(kReconnecting);
        dispatcher_.Synchronize([this, &outcome] {
            if (OnConnectionLost) OnConnectionLost(this, outcome.reason);
        });
        const int doublings = std::min(std::max(failures - 1, 0), 16);
        Pause(static_cast<int>(std::min<long long>(static_cast<long long>(options_.firstPauseMs) << doublings,
                                                   options_.maxPauseMs)));
        if (terminated_) break;
    }

    {
        std::lock_guard<std::mutex> lock(lock_);
        url_.clear();
    }
    // The frame in progress is incomplete and dropped; the rest of the song is kept.
    CloseSong();
    SetStatus(kStopped);
    dispatcher_.Synchronize([this] {
        if (OnTerminating) OnTerminating(this);
    });
    finished_ = true;
}

void TNetRadioChannel::ConnectionOpened(const std::string& contentType) {
    contentType_ = contentType;
    cutter_.SetContentType(contentType);
    std::string refusal = RefusalOfStream(contentType, {});
    if (!refusal.empty()) return Abort(refusal);
    SetStatus(kConnected);
    SetStatus(writeFailed_ ? lastStatus_ : kRipping);
}

void TNetRadioChannel::ReceivedAudio(const char* data, std::size_t size) {
    // Once asked to stop, the rest of a received buffer is dropped.
    if (StopNow()) return;
    if (sniffed_.size() < kSniffBytes) {
        sniffed_.append(data, std::min(size, kSniffBytes - sniffed_.size()));
        std::string refusal = RefusalOfStream(contentType_, sniffed_);
        if (!refusal.empty()) return Abort(refusal);
    }
    connectionAudio_ = true;
    everReceived_ = true;
    replay_.Audio(data, size);
    if (!cutter_.Kind() && cutter_.BytesWithoutSync() > options_.maxBytesWithoutFrames) Abort(kRefusedNoAudio);
}

void TNetRadioChannel::TitleText(const std::string& metadata) {
    // An Ogg stream's titles are the ones in its comment headers.
    if (cutter_.IsOgg()) return;
    auto parsed = ExtractStreamTitle(metadata);
    if (!parsed) return;
    Announce(Trimmed(DecodeText(*parsed)), cutter_.Position());
}

void TNetRadioChannel::Announce(const std::string& title, std::uint64_t position) {
    // An empty title (ads, jingles) names no song: the audio goes on into the current file.
    if (title.empty()) return;
    const std::string& current = pendingTitle_ ? *pendingTitle_ : lastTitle_;
    if (title == current) return;
    // The song starts with the first frame (or page) that begins at or after this byte.
    pendingTitle_ = title;
    pendingAt_ = position;
}

void TNetRadioChannel::Frame(const char* data, std::size_t size, std::uint64_t position, bool isFrame) {
    if (StopNow()) return;
    if (burstTitle_ && position >= kWishBurstBytes) {
        // The unwished title outlived the burst: it is what the station plays now.
        std::string title = std::move(*burstTitle_);
        burstTitle_.reset();
        ++songCount_;
        NotifyNewSong(title);
        return Abort(kStopped);
    }
    if (pendingTitle_ && isFrame && position >= pendingAt_) {
        std::string title = std::move(*pendingTitle_);
        pendingTitle_.reset();
        StartSong(title);  // a new file gets at least the frame that starts it
    }
    if (!writer_.IsOpen()) return;  // before the first title, or the song's file failed
    if (!writer_.Append(data, size)) return WriteFailed();
    ReportProgress(false);
}

void TNetRadioChannel::StartSong(const std::string& title) {
    CloseSong();
    if (StopNow()) return;
    lastTitle_ = title;
    const bool unwished = wishRip_ && !MatchesWish(title);
    // A server that bursts the last seconds before the wished song (Icecast does) names the
    // song that ended with them first. Before any wished song, such a title starts nothing and
    // is given until the burst is over to be followed by the wished one.
    burstTitle_.reset();
    if (unwished && !wishedSongSeen_ && cutter_.Position() < kWishBurstBytes) {
        burstTitle_ = title;
        return;
    }
    if (wishRip_ && !unwished) wishedSongSeen_ = true;
    ++songCount_;
    // A wish rip keeps only wished songs: the first other song ends it and leaves no file.
    // It is still announced, which tells the window that the wished song before it is whole.
    if (unwished) {
        NotifyNewSong(title);
        return Abort(kStopped);
    }
    const std::string folder = Folder();
    const AudioKind kind = cutter_.Kind().value_or(AudioKind::Mp3);
    std::string claim = JoinPath(folder, SongFileName(title, FileExtension(kind)));
    // Two rips of one genre may announce the same title at the same time: the file is opened
    // exclusively, so the later one simply gets the next free name.
    if (ClaimSongFile(claim)) claimedPath_ = claim;
    if (!writer_.Open(folder, title, FileExtension(kind))) return WriteFailed();
    {
        std::lock_guard<std::mutex> lock(lock_);
        songFile_ = writer_.Path();
    }
    if (writeFailed_) {
        writeFailed_ = false;
        SetStatus(kRipping);
    }
    reportedKB_ = -1;
    lastFlush_ = std::chrono::steady_clock::now();
    NotifyNewSong(title);
    ReportProgress(true);
}

void TNetRadioChannel::NotifyNewSong(const std::string& title) {
    dispatcher_.Synchronize([this, &title] {
        if (OnNewSong) OnNewSong(this, title);
    });
}

void TNetRadioChannel::CloseSong() {
    if (writer_.IsOpen()) {
        bool ok = writer_.Close();
        ReportProgress(true);
        if (!ok) WriteFailed();
    }
    if (!claimedPath_.empty()) {
        ReleaseSongFile(claimedPath_);
        claimedPath_.clear();
    }
    std::lock_guard<std::mutex> lock(lock_);
    songFile_.clear();
}

void TNetRadioChannel::WriteFailed() {
    const bool diskFull = writer_.DiskFull();
    // What reached the file stays; the rest of this song is lost, and the next song tries again
    // (with its folder made anew if it was deleted).
    if (writer_.IsOpen()) {
        writer_.Close();
        ReportProgress(true);
    }
    if (!claimedPath_.empty()) {
        ReleaseSongFile(claimedPath_);
        claimedPath_.clear();
    }
    {
        std::lock_guard<std::mutex> lock(lock_);
        songFile_.clear();
    }
    if (diskFull) return Abort(kDiskFull);
    std::string folder = Folder();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    writeFailed_ = true;
    SetStatus("Cannot write to " + folder);
}

void TNetRadioChannel::Tick() {
    const auto now = std::chrono::steady_clock::now();
    if (writer_.IsOpen() && now - lastFlush_ >= kFlushInterval) {
        lastFlush_ = now;
        if (!writer_.Flush()) return WriteFailed();
    }
    ReportProgress(false);
}

void TNetRadioChannel::ReportProgress(bool now) {
    // Whole kilobytes of the song's running total, posted when the figure changes.
    const auto kb = static_cast<std::int32_t>(writer_.Bytes() >> 10);
    if (kb == reportedKB_) return;
    const auto time = std::chrono::steady_clock::now();
    if (!now && reportedKB_ >= 0 && time - lastProgress_ < kProgressInterval) return;
    reportedKB_ = kb;
    lastProgress_ = time;
    dispatcher_.Synchronize([this, kb] {
        if (OnProgress) OnProgress(ID, kb);
    });
}

}  // namespace wt
