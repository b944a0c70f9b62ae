#include "DamagedFilesOffer.h"

#include "UserDialogs.h"
#include "files/DamagedFiles.h"

#include <ctime>
#include <exception>

namespace wt::app {

void OfferDamagedFileRepairs(const ProgramFolders& folders, ui::UserDialogs& dialogs) {
    for (const DamagedFile& file : FindDamagedFiles(folders, std::time(nullptr))) {
        // No: the program opens the file as it is and ends with the file's own refusal.
        if (!dialogs.AskYesNo(nullptr, ui::MessageKind::Warning, QString::fromStdString(file.question),
                              QStringLiteral("Wavetrap")))
            continue;
        try {
            file.Repair();
        } catch (const std::exception& error) {
            dialogs.ShowMessage(nullptr, ui::MessageKind::Error, QString::fromStdString(error.what()),
                                QStringLiteral("Error"));
        }
    }
}

}  // namespace wt::app
