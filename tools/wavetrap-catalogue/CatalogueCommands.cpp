#include "CatalogueCommands.h"

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "Csv.h"
#include "catalogue/StationCatalogue.h"
#include "catalogue/FieldText.h"
#include "directory/CatalogueImport.h"
#include "directory/StationListImport.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

namespace wt::tool {

namespace fs = std::filesystem;

namespace {

const csv::Row kHeader = {"ID", "Genre", "Title", "BitRate", "URL"};
const csv::Row kHeaderWithoutId = {"Genre", "Title", "BitRate", "URL"};

// Opens an existing catalogue; the engine would create a missing one, which a reading
// command must not do.
void OpenExisting(StationCatalogue& catalogue, const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        throw std::runtime_error("Cannot open file \"" + path + "\". No such file");
    catalogue.Open();
}

std::string Folder(const std::string& path) {
    fs::path p = fs::absolute(path);
    return p.parent_path().string();
}

std::string Name(const std::string& path) { return fs::absolute(path).filename().string(); }

// Writes a file beside its final name and renames it into place, so that a web server
// never serves half of it.
void MakeFolder(const std::string& folder) {
    const FileResult made = RealFileSystem().CreateFolders(folder);
    if (!made.ok()) throw std::runtime_error("Cannot create folder \"" + folder + "\". " + made.Reason());
}

void WriteAtomically(const fs::path& target, const std::string& bytes) {
    const FileResult written = WriteWholeFile(RealFileSystem(), target.string(), bytes);
    if (!written.ok()) throw std::runtime_error("Cannot write \"" + target.string() + "\". " + written.Reason());
}

}  // namespace

void ExportCsv(const std::string& path, std::ostream& out) {
    StationCatalogue catalogue(Folder(path), Name(path));
    OpenExisting(catalogue, path);
    out << csv::FormatRow(kHeader);
    catalogue.ForEachStation([&](const StationRecord& s) {
        out << csv::FormatRow({std::to_string(s.ID), s.Genre, s.Title, std::to_string(s.BitRate), s.URL});
    });
}

namespace {

// CSV rows are the catalogue's own columns: each is added as it stands, apart from what the
// catalogue cannot hold.
ImportSummary ImportCsv(const std::string& path, const std::string& text) {
    std::vector<csv::Row> rows = csv::Parse(text);
    if (rows.empty() || (rows[0] != kHeader && rows[0] != kHeaderWithoutId))
        throw std::runtime_error("CSV line 1: the header must be ID,Genre,Title,BitRate,URL");
    const std::size_t skip = rows[0] == kHeader ? 1 : 0;
    ImportSummary summary;
    // Every row is checked before the first station is added, so that a bad file adds nothing.
    std::vector<StationRecord> stations;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const csv::Row& row = rows[i];
        const std::string line = "CSV line " + std::to_string(i + 1) + ": ";
        if (row.size() == 1 && row[0].empty()) continue;  // a blank line
        if (row.size() != rows[0].size())
            throw std::runtime_error(line + "expected " + std::to_string(rows[0].size()) + " fields, found " +
                                     std::to_string(row.size()));
        ++summary.offered;
        DirectoryStation station;
        station.name = DecodeText(row[skip + 1]);
        station.url = DecodeText(row[skip + 3]);
        const std::string& bitRate = row[skip + 2];
        if (!bitRate.empty()) {
            auto value = ParseInteger(bitRate);
            if (!value) throw std::runtime_error(line + "'" + bitRate + "' is not a valid bit rate");
            station.bitrate = *value;
        }
        if (station.url.size() > static_cast<std::size_t>(kUrlSize)) {
            ++summary.refused;
            ++summary.urlTooLong;
            summary.refusals.push_back(line + RefusalMessage(StationRefusal::UrlTooLong, station));
            continue;
        }
        StationRecord s = ToCatalogueStation(station, DecodeText(row[skip]));
        s.Title = station.name;
        if (s.BitRate == 0 && station.bitrate != 0) ++summary.bitRateUnknown;
        stations.push_back(std::move(s));
    }
    StationCatalogue catalogue(Folder(path), Name(path));
    catalogue.Open();
    {
        // All of the import or none of it reaches the file.
        TzBulkChange bulk(catalogue.Dataset());
        for (const auto& s : stations) catalogue.AddStation(s);
        bulk.Finish();
    }
    catalogue.Close();
    summary.added = static_cast<int>(stations.size());
    return summary;
}

ImportSummary ImportStations(const std::string& path, const std::string& listPath, const std::string& genre) {
    const std::string bytes = ReadStationListFile(listPath);
    if (DetectStationListKind(bytes, listPath) == StationListKind::Csv) return ImportCsv(path, bytes);
    const std::vector<DirectoryStation> stations = ReadStationList(bytes, listPath);
    StationCatalogue catalogue(Folder(path), Name(path));
    catalogue.Open();
    ImportSummary summary = AddStationsToCatalogue(catalogue, stations, genre, {});
    catalogue.Close();
    return summary;
}

}  // namespace

std::string ImportList(const std::string& path, const std::string& listPath, const std::string& genre) {
    return FormatImportSummary(ImportStations(path, listPath, genre));
}

void ListGenres(const std::string& path, std::ostream& out) {
    StationCatalogue catalogue(Folder(path), Name(path));
    OpenExisting(catalogue, path);
    for (const auto& genre : catalogue.Genres()) out << genre << '\n';
}

void Publish(const std::string& path, const std::string& folder, int catalogueVersion, int programVersion) {
    {
        // Only a catalogue that opens is published; closing also completes an old header.
        StationCatalogue catalogue(Folder(path), Name(path));
        OpenExisting(catalogue, path);
        catalogue.Close();
    }
    std::string bytes;
    if (const FileResult read = ReadWholeFile(RealFileSystem(), path, &bytes); !read.ok())
        throw std::runtime_error("Cannot read \"" + path + "\". " + read.Reason());
    MakeFolder(folder);
    char versions[16];
    std::snprintf(versions, sizeof versions, "%03d\r\n%03d\r\n", catalogueVersion, programVersion);
    // The catalogue first: a client that reads the new version finds the new catalogue.
    WriteAtomically(fs::path(folder) / "upd.db", bytes);
    WriteAtomically(fs::path(folder) / "upd.txt", versions);
}

std::string PublishList(const std::string& listPath, const std::string& folder, int catalogueVersion,
                        int programVersion, const std::string& genre) {
    MakeFolder(folder);
    // Built beside its final place, so upd.db is replaced only by a whole catalogue. The
    // building file is scratch: one that is not there to remove is no failure.
    const std::string building = (fs::path(folder) / "upd.db.new").string();
    FileSystem& files = RealFileSystem();
    (void)files.Remove(building);
    std::string summary;
    try {
        summary = ImportList(building, listPath, genre);
        Publish(building, folder, catalogueVersion, programVersion);
    } catch (...) {
        (void)files.Remove(building);
        throw;
    }
    (void)files.Remove(building);
    return summary;
}

}  // namespace wt::tool
