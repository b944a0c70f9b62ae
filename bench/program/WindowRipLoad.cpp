// The whole program ripping N stations of a real Icecast2 server, started from the window as a
// user starts them: the genre clicked in the tree, "Download all" clicked on the toolbar.
//
// Measures, once every row shows "Ripping": the CPU of this process (user + system, getrusage)
// over the run, and the longest stall of the GUI thread (how late a 10 ms timer's tick comes at
// worst). The Icecast server runs in its own processes and is not counted. Every 10 s the mount
// announces a new title, so every rip changes song, counts it in cfg.dat and opens a new file.
//
// Usage: wt_bench_window_rip STATIONS SECONDS     (STATIONS 0: the idle window)
#include "MainWindow.h"
#include "Program.h"
#include "UserActions.h"
#include "UserDialogs.h"
#include "WindowTestSupport.h"

#include "IcecastServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QStyleFactory>
#include <QTimer>
#include <QTreeWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

class SilentDialogs : public wt::ui::UserDialogs {
public:
    bool AskYesNo(QWidget*, wt::ui::MessageKind, const QString&, const QString&) override { return true; }
    void ShowMessage(QWidget*, wt::ui::MessageKind, const QString& text, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    std::optional<QString> ChooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QString> InputText(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long MaxRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    const int stations = argc > 1 ? std::atoi(argv[1]) : 50;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    wt::test::IcecastServer icecast;
    if (stations > 0 && !icecast.Start()) {
        std::fprintf(stderr, "icecast: %s\n", icecast.Error().c_str());
        return 1;
    }
    wt::test::TempFolder profile, music;
    {
        std::vector<wt::StationRecord> list;
        for (int i = 1; i <= stations; ++i) {
            char title[32];
            std::snprintf(title, sizeof title, "Load %03d", i);
            list.push_back(wt::test::Station("Load", title, 128, icecast.StreamUrl() + "?n=" + std::to_string(i)));
        }
        if (stations == 0) list.push_back(wt::test::Station("Idle", "Idle FM", 128, "http://127.0.0.1:9/"));
        wt::test::WriteCatalogue(profile.Path(), list);
        wt::TzIniData settings("cfg.dat", false, profile.Path());
        settings.WriteString("WorkingPath", music.Path() + "Wavetrap Music/");
    }
    SilentDialogs dialogs;
    wt::app::Program program(dialogs, profile.Path(), [](const QUrl&) {});
    if (!program.Start()) return 1;
    wt::ui::TForm1& w = program.Window();
    using wt::acceptance::WaitFor;
    if (!WaitFor([&] { return w.GenresRoot()->isExpanded(); })) return 1;

    if (stations > 0) {
        icecast.SetTitle("Song 0");
        wt::acceptance::ClickItem(w.TeTreeView1, wt::acceptance::FindItem(w.TeTreeView1, "Load"));
        WaitFor([&] { return w.BrowseList->topLevelItemCount() == stations; });
        wt::acceptance::Click(&w, "Download all");
        auto ripping = [&] {
            int n = 0;
            for (int i = 0; i < w.TeListView1->topLevelItemCount(); ++i)
                n += w.TeListView1->topLevelItem(i)->text(2) == "Ripping";
            return n;
        };
        if (!WaitFor([&] { return ripping() == stations; }, 60000))
            std::fprintf(stderr, "only %d of %d rows ripping\n", ripping(), stations);
    }

    // The GUI thread's lateness, sampled by a 10 ms timer.
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.elapsed(), worst = 0;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        qint64 now = clock.elapsed();
        worst = std::max(worst, now - last - 10);
        last = now;
    });
    QTimer titles;
    int song = 0;
    titles.setInterval(10000);
    QObject::connect(&titles, &QTimer::timeout, [&] { icecast.SetTitle("Song " + std::to_string(++song)); });
    if (stations > 0) titles.start();
    // The idle window is measured alone: the probe's own ticks would be most of its cost.
    if (stations > 0) probe.start();
    const double cpuStart = CpuSeconds();
    QElapsedTimer run;
    run.start();
    QTimer::singleShot(seconds * 1000, &app, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    const double cpu = CpuSeconds() - cpuStart;
    const double wall = run.elapsed() / 1000.0;
    int ripping = 0;
    std::map<QString, int> statuses;
    for (int i = 0; i < w.TeListView1->topLevelItemCount(); ++i) {
        ripping += w.TeListView1->topLevelItem(i)->text(2) == "Ripping";
        ++statuses[w.TeListView1->topLevelItem(i)->text(2) + " / " + w.TeListView1->topLevelItem(i)->text(4)];
    }
    for (const auto& [status, count] : statuses) std::printf("  %3d rows: %s\n", count, qPrintable(status));
    std::printf("stations %d, run %.1f s: CPU %.2f %% of one core, longest GUI stall %lld ms, "
                "rows ripping at the end %d, max RSS %ld MB, songs announced %d, ripped songs counted %s\n",
                stations, wall, 100.0 * cpu / wall, worst, ripping, MaxRssKb() / 1024, song,
                qPrintable(w.lTotalRippedSongs->text()));
    return 0;
}
