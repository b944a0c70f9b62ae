#pragma once
// Shared pieces of the window tests: a program folder with a catalogue and settings, and a
// way to wait for the GUI without sleeping.
#include "TempFolder.h"

#include "catalogue/StationCatalogue.h"
#include "settings/zIniData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTreeWidget>

#include <functional>
#include <vector>

namespace wt::test {

// Processes GUI events until pred() holds or the time is up; returns pred().
inline bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return pred();
}

// Writes "data.db" in folder with these stations (IDs given by the catalogue, 1 upwards).
inline void WriteCatalogue(const std::string& folder, const std::vector<StationRecord>& stations) {
    StationCatalogue catalogue(folder);
    catalogue.Open();
    for (const auto& station : stations) catalogue.AddStation(station);
    catalogue.Close();
}

inline StationRecord Station(std::string genre, std::string title, std::int16_t bitRate,
                             std::string url) {
    StationRecord s;
    s.Genre = std::move(genre);
    s.Title = std::move(title);
    s.BitRate = bitRate;
    s.URL = std::move(url);
    return s;
}

// The texts of one column of a list, top to bottom.
inline QStringList Column(QTreeWidget* list, int column) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(column);
    return out;
}

inline QStringList Children(QTreeWidgetItem* node) {
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i) out << node->child(i)->text(0);
    return out;
}

}  // namespace wt::test
