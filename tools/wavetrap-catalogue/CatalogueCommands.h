#pragma once
// The commands of wavetrap-catalogue over one catalogue file. Each throws std::exception
// with the message to show on failure.
#include <iosfwd>
#include <string>

namespace wt::tool {

// Every station in catalogue order as CSV with the header ID,Genre,Title,BitRate,URL.
void ExportCsv(const std::string& catalogue, std::ostream& out);
// Adds the stations of a CSV file (header with or without the ID column); returns how many.
int ImportCsv(const std::string& catalogue, const std::string& csvPath);
// The distinct genres, one per line, as the genre tree shows them.
void ListGenres(const std::string& catalogue, std::ostream& out);
// Writes folder/upd.db (a copy of the catalogue) and folder/upd.txt (the two version lines).
void Publish(const std::string& catalogue, const std::string& folder, int catalogueVersion, int programVersion);

}  // namespace wt::tool
