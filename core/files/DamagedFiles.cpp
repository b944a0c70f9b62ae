#include "files/DamagedFiles.h"

#include "catalogue/CatalogueRepair.h"
#include "platform/FileSystem.h"
#include "platform/SetAside.h"
#include "settings/zIniData.h"

namespace wt {

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string Stations(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " whole station" : " whole stations");
}

// The settings file's own refusal, or empty when it opens (or is missing: a new one is made).
std::string SettingsRefusal(const std::string& path) {
    FileInfo info;
    if (!RealFileSystem().Info(path, &info).ok()) return {};
    try {
        TzIniData store(path, true);
    } catch (const EzIniDataError& refusal) {
        return refusal.what();
    } catch (const std::exception&) {
        return {};  // cannot be read at all: not damage, the program reports it as it opens
    }
    return {};
}

}  // namespace

std::vector<DamagedFile> FindDamagedFiles(const ProgramFolders& folders, std::time_t now) {
    std::vector<DamagedFile> found;

    const std::string settings = folders.config + "cfg.dat";
    const std::string settingsRefusal = SettingsRefusal(settings);
    if (!settingsRefusal.empty()) {
        found.push_back({settings,
                         "The settings file " + Quoted(settings) + " is damaged:\r" + settingsRefusal +
                             "\r\rSet it aside as " + Quoted(SetAsideName(settings, now)) +
                             " and start with new settings?",
                         [settings, now] { MoveAside(settings, now); }});
    }

    const std::string catalogue = folders.data + "data.db";
    const DataSetDamage damage = InspectDataSetFile(catalogue);
    if (damage.kind == DataSetDamage::Kind::TornTail) {
        found.push_back({catalogue,
                         "The station catalogue " + Quoted(catalogue) + " ends in a damaged record (" +
                             std::to_string(damage.strayBytes) + " bytes after " + Stations(damage.wholeRecords) +
                             ").\r\rRepair it? The whole stations are kept, and a copy of the damaged file is "
                             "set aside as " + Quoted(SetAsideName(catalogue, now)) + ".",
                         [catalogue, now] {
                             CopyAside(catalogue, now);
                             CutTornTail(catalogue);
                         }});
    } else if (damage.kind == DataSetDamage::Kind::Refused) {
        found.push_back({catalogue,
                         "The station catalogue " + Quoted(catalogue) + " is damaged:\r" + damage.reason +
                             "\r\rSet it aside as " + Quoted(SetAsideName(catalogue, now)) +
                             " and start with an empty catalogue?",
                         [catalogue, now] { MoveAside(catalogue, now); }});
    }
    return found;
}

}  // namespace wt
