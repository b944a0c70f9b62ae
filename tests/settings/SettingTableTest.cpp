// The table of setting names against the help page's settings list: every setting the
// program keeps is documented with the default the program reads, and nothing else is.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>

#include "settings/SettingNames.h"

namespace wt {
namespace {

// Name -> default cell of the help page's settings table; a row naming two settings
// ("LowerEnabled, LowerIndex" / "false, 0") gives each its own part.
std::map<std::string, std::string> HelpSettings() {
    std::ifstream in(WT_HELP_PAGE);
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto start = page.find("id=\"settings\"");
    const auto end = page.find("</table>", start);
    EXPECT_NE(start, std::string::npos);
    const std::string table = page.substr(start, end - start);
    std::map<std::string, std::string> found;
    const std::regex row(R"(<tr><td>((?:<code>\w+</code>(?:, )?)+)</td><td>.*?</td><td>(.*?)</td></tr>)");
    for (auto it = std::sregex_iterator(table.begin(), table.end(), row); it != std::sregex_iterator(); ++it) {
        std::vector<std::string> names;
        const std::string cell = (*it)[1];
        const std::regex code(R"(<code>(\w+)</code>)");
        for (auto c = std::sregex_iterator(cell.begin(), cell.end(), code); c != std::sregex_iterator(); ++c)
            names.push_back((*c)[1]);
        const std::string defaults = (*it)[2];
        std::vector<std::string> parts;
        for (std::size_t from = 0;;) {
            const auto comma = defaults.find(", ", from);
            parts.push_back(defaults.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
            if (comma == std::string::npos) break;
            from = comma + 2;
        }
        for (std::size_t i = 0; i < names.size(); ++i)
            found[names[i]] = names.size() == parts.size() ? parts[i] : defaults;
    }
    return found;
}

TEST(SettingTable, TheHelpPageListsEverySettingWithTheDefaultTheProgramReads) {
    const auto help = HelpSettings();
    std::set<std::string> documented, table, all(setting::kAll.begin(), setting::kAll.end());
    for (const auto& [name, _] : help) documented.insert(name);
    for (const auto& row : setting::kTable) table.insert(row.name);
    EXPECT_EQ(documented, table);
    EXPECT_EQ(all, table);
    for (const auto& row : setting::kTable) {
        SCOPED_TRACE(row.name);
        const auto cell = help.find(row.name);
        if (cell == help.end()) continue;
        const std::string& shown = cell->second;
        switch (row.kind) {
        case setting::SettingKind::Boolean:
            EXPECT_EQ(shown, row.defaultNumber ? "true" : "false");
            break;
        case setting::SettingKind::Integer:
            EXPECT_EQ(shown.substr(0, shown.find(' ')), std::to_string(row.defaultNumber));
            break;
        case setting::SettingKind::Text:
            if (*row.defaultText) {
                EXPECT_EQ(shown.rfind(std::string("<code>") + row.defaultText + "</code>", 0), 0u) << shown;
                break;
            }
            [[fallthrough]];
        case setting::SettingKind::Lines:
            EXPECT_TRUE(shown.rfind("empty", 0) == 0 || shown.rfind("not set", 0) == 0) << shown;
            break;
        }
    }
}

TEST(SettingTable, FixedNamesAreFoundByExactSpellingAndRefusedAsGroupsInAnyCase) {
    EXPECT_EQ(setting::Find("WorkingPath")->kind, setting::SettingKind::Text);
    EXPECT_EQ(setting::Find("workingpath"), nullptr);
    for (const char* name : {"workingpath", "DIRECTORYSITE", "Favorites"}) EXPECT_TRUE(setting::IsFixedName(name)) << name;
    EXPECT_FALSE(setting::IsFixedName("My Rock"));
}

}  // namespace
}  // namespace wt
