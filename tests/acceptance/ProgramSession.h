#pragma once
// The real program started for one acceptance test: a fresh profile folder (settings and
// catalogue), a music folder, the real dialogs, and the window shown and activated.
#include "UserActions.h"

#include "MainWindow.h"
#include "Program.h"
#include "TempFolder.h"
#include "WindowTestSupport.h"
#include "UserDialogs.h"

#include "catalogue/StationCatalogue.h"

#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wt::acceptance {

using test::Station;

class ProgramSession {
public:
    // stations go into the profile's catalogue; settings() may write more settings before the
    // start. Unless firstStart, the output folder is already chosen (the music folder).
    explicit ProgramSession(std::vector<StationRecord> stations, bool firstStart = false,
                            const std::function<void(TzIniData&)>& settings = {});
    ~ProgramSession();

    // Starts the program as its entry does and waits for the first activation.
    void Start();
    ui::TForm1& Window() { return program_->Window(); }
    // "<music folder>/Wavetrap Music/".
    std::string MusicFolder() const { return music.Path() + "Wavetrap Music/"; }
    std::string Profile() const { return profile.Path(); }
    // Whether the program asked to end (a cancelled first folder choice).
    bool Ended() const { return ended_; }

    test::TempFolder profile;
    test::TempFolder music;
    DialogAnswers answers;
    std::vector<QUrl> opened;  // what the desktop was asked to open

private:
    ui::QtUserDialogs dialogs_;
    std::unique_ptr<app::Program> program_;
    bool ended_ = false;
};

// Clicks the genre in the tree, waits for the station in the Browse list and clicks it.
void PickStation(ui::TForm1& window, const QString& genre, const QString& station);

// The whole content of a file ("" when it cannot be read).
std::string ReadWhole(const std::string& path);

}  // namespace wt::acceptance
