#pragma once
// The whole program behind its window: the main window and everything main() wires to it (the
// catalogue update, the wish searches, the browse commands, the GUI-thread hand-off). The program
// entry makes one; acceptance tests make one too, so they drive exactly what a user gets.
#include "platform/ProgramFolder.h"

#include <QUrl>

#include <functional>
#include <memory>
#include <string>

namespace wt {
class UpdateController;
namespace net {
class HttpClient;
}
namespace ui {
class BrowseCommands;
class QtDispatcher;
class ScheduleWiring;
class TForm1;
class UserDialogs;
class WishWiring;
}  // namespace ui
}  // namespace wt

namespace wt::app {

class Program {
public:
    // The user's files live in folders. opener opens web addresses and folders; the desktop's
    // default handler when empty. Throws when the settings file cannot be opened.
    Program(ui::UserDialogs& dialogs, const ProgramFolders& folders,
            std::function<void(const QUrl&)> opener = {});
    // Everything in one folder (ends in '/'), as in portable mode.
    Program(ui::UserDialogs& dialogs, const std::string& programFolder,
            std::function<void(const QUrl&)> opener = {});
    // Closes the hand-off first, so that no worker waits on a GUI thread that no longer pumps.
    ~Program();

    // The creation handler, then the window shown; false when the start failed (the reason has
    // been shown and the program is ending).
    bool Start();

    ui::TForm1& Window() { return *window_; }

private:
    std::unique_ptr<ui::TForm1> window_;
    std::unique_ptr<net::HttpClient> updateHttp_;
    std::unique_ptr<UpdateController> updates_;
    std::unique_ptr<ui::QtDispatcher> dispatcher_;
    std::unique_ptr<ui::WishWiring> wishes_;
    std::unique_ptr<ui::BrowseCommands> browseCommands_;
    std::unique_ptr<net::HttpClient> directoryHttp_;  // the station directory's searches
    std::unique_ptr<ui::ScheduleWiring> schedules_;
};

}  // namespace wt::app
