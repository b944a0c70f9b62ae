#pragma once
// The commands of wavetrap-catalogue over one catalogue file. Each throws std::exception
// with the message to show on failure.
#include <iosfwd>
#include <string>

namespace wt::tool {

// Every station in catalogue order as CSV with the header ID,Genre,Title,BitRate,URL.
void ExportCsv(const std::string& catalogue, std::ostream& out);
// Adds the stations of a list file, its kind taken from the content: a CSV file (header with
// or without the ID column; every station added) or an M3U, PLS, XSPF playlist or radio-browser
// JSON export (stations whose URL the catalogue holds are skipped; genre, or each station's first
// tag when genre is empty). Bit rates outside 0..32767 become 0; a URL over 200 characters is
// refused for its station and the rest go on. Returns the summary to print. A CSV row that is
// not a station fails the whole file before anything is added.
std::string ImportList(const std::string& catalogue, const std::string& listPath, const std::string& genre = {});
// The distinct genres, one per line, as the genre tree shows them.
void ListGenres(const std::string& catalogue, std::ostream& out);
// Writes folder/upd.db (a copy of the catalogue) and folder/upd.txt (the two version lines).
void Publish(const std::string& catalogue, const std::string& folder, int catalogueVersion, int programVersion);
// Publishes the stations of a station list (a radio-browser export) as folder/upd.db and
// folder/upd.txt; returns the import summary.
std::string PublishList(const std::string& listPath, const std::string& folder, int catalogueVersion,
                        int programVersion, const std::string& genre = {});

}  // namespace wt::tool
