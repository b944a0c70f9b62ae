#include "ImportStationsFile.h"

#include <QFileInfo>

#include "UserDialogs.h"
#include "directory/StationListImport.h"

namespace wt::ui {

std::string ImportGenreFor(const QString& path, const std::string& content) {
    if (DetectStationListKind(content, path.toStdString()) == StationListKind::Json) return {};
    return QFileInfo(path).completeBaseName().trimmed().toStdString();
}

int ImportStationsFile(QWidget* parent, const QString& path, StationCatalogue& catalogue,
                       const std::vector<std::string>& blackList, UserDialogs& dialogs) {
    const QString caption = "Import Stations";
    try {
        const std::string bytes = ReadStationListFile(path.toStdString());
        const std::vector<DirectoryStation> stations = ReadStationList(bytes, path.toStdString());
        const ImportSummary summary = AddStationsToCatalogue(catalogue, stations, ImportGenreFor(path, bytes), blackList);
        // The program's message texts break lines with a carriage return.
        dialogs.ShowMessage(parent, MessageKind::Information,
                            QString::fromStdString(FormatImportSummary(summary)).replace('\n', '\r'), caption);
        return summary.added;
    } catch (const std::exception& e) {  // an unreadable list, or the catalogue refusing a write
        dialogs.ShowMessage(parent, MessageKind::Error, QString::fromStdString(e.what()), caption);
        return 0;
    }
}

}  // namespace wt::ui
