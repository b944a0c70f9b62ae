#pragma once
// Before the window opens: each damaged program file is named to the user, with the offer to
// set it aside and start with a fresh one (or, for a torn catalogue, to repair it).
#include "platform/ProgramFolder.h"

namespace wt::ui {
class UserDialogs;
}

namespace wt::app {

void OfferDamagedFileRepairs(const ProgramFolders& folders, ui::UserDialogs& dialogs);

}  // namespace wt::app
