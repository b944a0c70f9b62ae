#include "CatalogueCommands.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "Csv.h"
#include "catalogue/StationCatalogue.h"
#include "catalogue/FieldText.h"
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
void WriteAtomically(const fs::path& target, const std::string& bytes) {
    fs::path temporary = target;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) throw std::runtime_error("Cannot write \"" + temporary.string() + "\"");
    }
    fs::rename(temporary, target);
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

int ImportCsv(const std::string& path, const std::string& csvPath) {
    std::ifstream in(csvPath, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot open file \"" + csvPath + "\".");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<csv::Row> rows = csv::Parse(text);
    if (rows.empty() || (rows[0] != kHeader && rows[0] != kHeaderWithoutId))
        throw std::runtime_error("CSV line 1: the header must be ID,Genre,Title,BitRate,URL");
    const std::size_t skip = rows[0] == kHeader ? 1 : 0;
    // Every row is checked before the first station is added, so that a bad file adds nothing.
    std::vector<StationRecord> stations;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const csv::Row& row = rows[i];
        const std::string line = "CSV line " + std::to_string(i + 1) + ": ";
        if (row.size() == 1 && row[0].empty()) continue;  // a blank line
        if (row.size() != rows[0].size())
            throw std::runtime_error(line + "expected " + std::to_string(rows[0].size()) + " fields, found " +
                                     std::to_string(row.size()));
        StationRecord s;
        s.Genre = DecodeText(row[skip]);
        s.Title = DecodeText(row[skip + 1]);
        s.URL = DecodeText(row[skip + 3]);
        const std::string& bitRate = row[skip + 2];
        if (!bitRate.empty()) {
            auto value = ParseInteger(bitRate);
            if (!value || *value < -32768 || *value > 32767)
                throw std::runtime_error(line + "'" + bitRate + "' is not a valid bit rate");
            s.BitRate = static_cast<std::int16_t>(*value);
        }
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
    return static_cast<int>(stations.size());
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
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::create_directories(folder);
    char versions[16];
    std::snprintf(versions, sizeof versions, "%03d\r\n%03d\r\n", catalogueVersion, programVersion);
    // The catalogue first: a client that reads the new version finds the new catalogue.
    WriteAtomically(fs::path(folder) / "upd.db", bytes);
    WriteAtomically(fs::path(folder) / "upd.txt", versions);
}

}  // namespace wt::tool
