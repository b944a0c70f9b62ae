// The longest stall of the GUI thread while 198 rips report at once.
//
// 198 worker threads play the part of rip channels: each hands its notifications to the GUI
// thread through the program's own hand-off (a blocking queued call), exactly as channels do:
// a status, then progress figures and new songs at a steady rate. The window's own handlers
// fill the 198 rows of the Downloading list, count songs in cfg.dat and run the sweeps.
// A 5 ms timer on the GUI thread records how late each of its ticks comes: the worst lateness
// is the longest time the window could not react to the user.
//
// Usage: wt_bench_gui_stall [seconds] [progress-per-second] [seconds-per-song]
#include "MainWindow.h"
#include "NetListItem.h"
#include "QtDispatcher.h"
#include "UserDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Answers nothing: the load never asks a question.
class SilentDialogs : public wt::ui::UserDialogs {
public:
    bool AskYesNo(QWidget*, wt::ui::MessageKind, const QString&, const QString&) override { return false; }
    void ShowMessage(QWidget*, wt::ui::MessageKind, const QString&, const QString&) override {}
    std::optional<QString> ChooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QString> InputText(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

constexpr int kRips = 198;

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const int progressPerSecond = argc > 2 ? std::atoi(argv[2]) : 16;
    const int secondsPerSong = argc > 3 ? std::atoi(argv[3]) : 20;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    char pattern[] = "/tmp/wt-bench-ui-XXXXXX";
    std::filesystem::path folder = mkdtemp(pattern);
    SilentDialogs dialogs;
    auto window = std::make_unique<wt::ui::TForm1>(dialogs, folder.string() + "/");
    window->zIniData1->WriteString("AdvertSite", "http://127.0.0.1:9");
    window->zIniData1->WriteString("WorkingPath", folder.string() + "/Wavetrap Music/");
    if (!window->FormCreate()) return 1;
    window->show();
    for (int id = 1; id <= kRips; ++id) {
        auto* row = new wt::ui::TNetListItem(
            window->TeListView1, {QStringLiteral("Station %1").arg(id), QStringLiteral("128"),
                                  QString(), QString(), QString(), QString()});
        row->ChannelID = id;
    }
    window->TeSPageControl1->setCurrentIndex(1);  // the list being updated is on screen

    wt::ui::QtDispatcher dispatcher;
    std::atomic<bool> stop{false};
    std::atomic<long long> handoffs{0};
    std::mutex waitMutex;
    std::vector<double> waitsMs;  // guarded by waitMutex
    std::vector<std::thread> rips;
    for (int id = 1; id <= kRips; ++id) {
        rips.emplace_back([&, id] {
            using clock = std::chrono::steady_clock;
            auto handOff = [&](const std::function<void()>& fn) {
                auto start = clock::now();
                dispatcher.Synchronize(fn);
                double ms = std::chrono::duration<double, std::milli>(clock::now() - start).count();
                ++handoffs;
                std::lock_guard<std::mutex> lock(waitMutex);
                waitsMs.push_back(ms);
            };
            handOff([&] { window->ShowRipStatus(id, "Connecting..."); });
            handOff([&] { window->ShowRipStatus(id, "Connected"); });
            handOff([&] { window->ShowRipStatus(id, "Ripping"); });
            const auto tick = std::chrono::microseconds(1000000 / std::max(1, progressPerSecond));
            // Stagger the rips so their songs do not all change in the same instant.
            auto next = clock::now() + tick * id / kRips;
            int kb = 0, songs = 0, ticks = 0;
            const int ticksPerSong = std::max(1, progressPerSecond * secondsPerSong);
            int songTick = (id * 7919) % ticksPerSong;
            while (!stop) {
                std::this_thread::sleep_until(next);
                next += tick;
                if (++ticks % ticksPerSong == songTick) {
                    kb = 0;
                    int count = songs++;
                    std::string title = "Artist " + std::to_string(id) + " - Song " + std::to_string(count);
                    handOff([&, count, title] { window->ShowRipSong(id, count, false, title); });
                } else {
                    kb += 1;
                    handOff([&, kb] { window->ShowRipProgress(id, kb); });
                }
            }
        });
    }

    QElapsedTimer elapsed;
    elapsed.start();
    qint64 last = elapsed.nsecsElapsed();
    double worstLateMs = 0;
    std::vector<double> lateness;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        qint64 now = elapsed.nsecsElapsed();
        double late = (now - last) / 1e6 - 5.0;
        last = now;
        lateness.push_back(late);
        worstLateMs = std::max(worstLateMs, late);
    });
    probe.start();
    // exit() rather than quit(): quit() would ask the window, whose close question says No here.
    QTimer::singleShot(seconds * 1000, &app, [] { QCoreApplication::exit(0); });
    app.exec();

    stop = true;
    dispatcher.Close();
    for (auto& t : rips) t.join();

    std::sort(lateness.begin(), lateness.end());
    std::sort(waitsMs.begin(), waitsMs.end());
    auto pct = [](const std::vector<double>& v, double p) {
        return v.empty() ? 0.0 : v[std::min(v.size() - 1, static_cast<std::size_t>(p * v.size()))];
    };
    std::printf("rips: %d, run: %d s, progress: %d/s per rip, a new song every %d s per rip\n", kRips,
                seconds, progressPerSecond, secondsPerSong);
    std::printf("hand-offs served: %lld (%.0f per second)\n", handoffs.load(),
                handoffs.load() / static_cast<double>(seconds));
    std::printf("GUI thread lateness (5 ms probe): p50 %.2f ms, p99 %.2f ms, worst %.2f ms\n",
                pct(lateness, 0.5), pct(lateness, 0.99), worstLateMs);
    std::printf("worker wait in hand-off: p50 %.2f ms, p99 %.2f ms, worst %.2f ms\n",
                pct(waitsMs, 0.5), pct(waitsMs, 0.99), waitsMs.empty() ? 0.0 : waitsMs.back());
    std::printf("songs counted in cfg.dat: %d\n", window->zIniData1->ReadInteger("RippedSongs", 0));
    window.reset();
    std::filesystem::remove_all(folder);
    return 0;
}
