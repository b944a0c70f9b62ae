#pragma once
// Connects the update controller to the main window: the "Update Radio Stations" and "Update
// Configuration" buttons, the window's message boxes and web opener, and the update commands
// closed while one runs. Header-only so that this library does not link the window's; the
// program, which links both, calls it once after creating the controller.
#include "MainWindow.h"
#include "UpdateController.h"

#include <QPushButton>
#include <QUrl>

namespace wt {

// opener opens a web address with the desktop's default handler.
inline void WireUpdateCommands(ui::TForm1& window, UpdateController& controller,
                               std::function<void(const QUrl&)> opener) {
    controller.SetDialogs(window.Dialogs());
    controller.SetUrlOpener([opener = std::move(opener)](const QString& url) {
        if (opener) opener(QUrl(url));
    });
    window.Hooks().updateRadioStations = [&controller] { controller.UpdateRadioStations(); };
    window.Hooks().updateConfiguration = [&controller] { controller.ShowUpdateConfiguration(); };
    window.ApplyHooks();
    QObject::connect(&controller, &UpdateController::BusyChanged, &window, [&window](bool busy) {
        window.manage.updateRadioStations->setEnabled(!busy);
        window.manage.updateConfiguration->setEnabled(!busy);
    });
}

// The window's start-up checks, run by the controller.
class ControllerUpdateChecks : public ui::UpdateChecks {
public:
    explicit ControllerUpdateChecks(UpdateController& controller) : controller_(controller) {}
    void NeedWTUpdate() override { controller_.NeedWTUpdate(); }
    void FirstActivation() override { controller_.FirstActivation(); }
    void Disconnect() override { controller_.Disconnect(); }

private:
    UpdateController& controller_;
};

}  // namespace wt
