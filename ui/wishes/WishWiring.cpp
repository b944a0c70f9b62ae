#include "WishWiring.h"

#include "MainWindow.h"

#include "platform/Clock.h"
#include "platform/StringList.h"
#include "platform/TextEncoding.h"
#include "wishes/LiveWishSetup.h"

#include <algorithm>
#include <unordered_set>

namespace wt::ui {

namespace {

constexpr const char* kMatchTime = "yyyy-MM-dd HH:mm";

// A tab or line break from the network would break a stored match into wrong fields.
std::string OneField(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

// The catalogue's stations for the status pages: the favourites' stations first, in group
// order, then every other station in catalogue order.
std::vector<WatchedStation> StationsToWatch(TForm1& window) {
    std::vector<WatchedStation> out;
    if (!window.zDataset1) return out;
    std::vector<StationRecord> all;
    window.zDataset1->ForEachStation([&](const StationRecord& station) { all.push_back(station); });
    std::unordered_set<std::int32_t> taken;
    auto add = [&](const StationRecord& station) {
        if (taken.insert(station.ID).second && net::IsHttpUrl(station.URL))
            out.push_back({station.URL, station.Title, station.Genre});
    };
    for (const std::string& group : SplitLines(window.zIniData1->ReadString(setting::kFavorites, "")))
        for (const std::string& id : SplitLines(window.zIniData1->ReadString(group, ""))) {
            const auto found = std::find_if(all.begin(), all.end(),
                                            [&](const StationRecord& s) { return std::to_string(s.ID) == id; });
            if (found != all.end()) add(*found);
        }
    for (const StationRecord& station : all) add(station);
    return out;
}

}  // namespace

WishWiring::WishWiring(TForm1& window, Dispatcher& dispatcher) : window_(window), dispatcher_(dispatcher) {
    WishSearchContext context;
    context.client = &http_;
    context.dispatcher = &dispatcher;
    std::string root = window.zIniData1->ReadString(kDirectorySiteSetting, kDefaultDirectorySite);
    if (root.empty() || root.back() != '/') root += '/';
    context.rootUrl = root;
    context.showError = [this](const std::string& message) {
        window_.Dialogs().ShowMessage(&window_, MessageKind::Error, QString::fromStdString(message));
    };
    searches_ = std::make_unique<WishSearches>(context);
    searches_->OnWishFound = [this](TNetWishObject* sender, const TWishInfo& info) {
        Found(info, sender ? sender->Wish : std::string(), "station directory");
    };
    // Without a directory its search page is not asked; the live sources still are.
    hasDirectory_ = root != "/";
    LoadMatches();

    window.Hooks().startWish = [this](const std::string& wish) { StartWish(wish); };
    window.Hooks().manageWishList = [this] {
        WishSearchControl control;
        control.AddWish = [this](const std::string& wish) { StartWish(wish); };
        control.RemoveWish = [this](const std::string& wish) { RemoveWish(wish); };
        control.StopAllWishes = [this] { StopAllWishes(); };
        control.LastMatch = [this](const std::string& wish) { return LastMatch(wish); };
        control.LookingAt = [this] { return LookingAt(); };
        if (window_.WishList && window_.NewWishes) {
            TForm7 dialog(&window_, window_.Dialogs(), *window_.zIniData1, *window_.WishList,
                          *window_.NewWishes, control);
            dialog.exec();
        }
        window_.ShowWishCount();
    };
}

WishWiring::~WishWiring() {
    live_.reset();
    searches_.reset();
}

void WishWiring::StartWish(const std::string& wish) {
    if (hasDirectory_) searches_->AddWish(wish);
    EnsureLiveWatch();
    liveWishes_.push_back(wish);
    if (live_) live_->SetWishes(liveWishes_);
}

void WishWiring::RemoveWish(const std::string& wish) {
    searches_->RemoveWish(wish);
    const auto found = std::find(liveWishes_.begin(), liveWishes_.end(), wish);
    if (found != liveWishes_.end()) liveWishes_.erase(found);
    if (live_) live_->SetWishes(liveWishes_);
}

void WishWiring::StopAllWishes() {
    searches_->StopAllWishes();
    liveWishes_.clear();
    if (live_) live_->SetWishes({});
}

void WishWiring::EnsureLiveWatch() {
    if (live_) return;
    live_ = std::make_unique<LiveWishWatch>(dispatcher_, SystemClock::Instance());
    AddLiveSources(*live_, http_, ReadLiveWishSettings(*window_.zIniData1), StationsToWatch(window_));
    live_->OnWishFound = [this](const TWishInfo& info, const std::string& wish, const std::string& where) {
        Found(info, wish, where);
    };
    live_->Start();
}

void WishWiring::Found(const TWishInfo& info, const std::string& wish, const std::string& where) {
    matches_[AsciiLower(wish)] = Match{wish, QDateTime::currentDateTime(), DecodeText(info.Station),
                                       DecodeText(info.NowPlaying), where};
    // The rip first: a settings file that cannot be written must not cost the song.
    window_.Radio_WishFound(info);
    SaveMatches();
}

QString WishWiring::LastMatch(const std::string& wish) const {
    const auto found = matches_.find(AsciiLower(wish));
    if (found == matches_.end()) return {};
    const Match& match = found->second;
    return QStringLiteral("Last matched %1 on %2 (%3): %4")
        .arg(match.when.toString(QString::fromLatin1(kMatchTime)), QString::fromStdString(match.station),
             QString::fromStdString(match.where), QString::fromStdString(match.song));
}

void WishWiring::LoadMatches() {
    for (const std::string& line : SplitLines(window_.zIniData1->ReadString(setting::kWishMatches, ""))) {
        const QStringList fields = QString::fromStdString(line).split(QLatin1Char('\t'));
        if (fields.size() != 5) continue;
        const QDateTime when = QDateTime::fromString(fields[1], QString::fromLatin1(kMatchTime));
        if (!when.isValid()) continue;
        const std::string wish = fields[0].toStdString();
        matches_[AsciiLower(wish)] =
            Match{wish, when, fields[2].toStdString(), fields[4].toStdString(), fields[3].toStdString()};
    }
}

void WishWiring::SaveMatches() {
    std::vector<std::string> lines;
    for (const auto& [key, match] : matches_)
        lines.push_back(OneField(match.wish) + '\t' + match.when.toString(QString::fromLatin1(kMatchTime)).toStdString() +
                        '\t' + OneField(match.station) + '\t' + OneField(match.where) + '\t' + OneField(match.song));
    window_.zIniData1->WriteString(setting::kWishMatches, JoinLinesCrLf(lines));
}

QString WishWiring::LookingAt() const {
    if (!live_) return {};
    QStringList parts;
    for (const std::string& summary : live_->Summaries()) parts << QString::fromStdString(summary);
    return parts.isEmpty() ? QString() : QStringLiteral("Looking at ") + parts.join(QStringLiteral("; "));
}

}  // namespace wt::ui
