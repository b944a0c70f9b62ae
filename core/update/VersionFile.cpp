#include "update/VersionFile.h"

#include "platform/StringList.h"

namespace wt {

std::string NormalizeVersionText(std::string_view body) { return JoinLinesCrLf(SplitLines(body)); }

std::optional<int> VersionGroup(std::string_view text, int first) {
    const size_t start = static_cast<size_t>(first - 1);
    if (first < 1 || start + 3 > text.size()) return std::nullopt;
    std::string_view group = text.substr(start, 3);
    size_t i = 0;
    while (i < group.size() && group[i] == ' ') ++i;  // leading blanks, as the number parser allows
    bool negative = false;
    if (i < group.size() && (group[i] == '-' || group[i] == '+')) negative = group[i++] == '-';
    if (i == group.size()) return std::nullopt;
    int value = 0;
    for (; i < group.size(); ++i) {
        if (group[i] < '0' || group[i] > '9') return std::nullopt;
        value = value * 10 + (group[i] - '0');
    }
    return negative ? -value : value;
}

std::optional<int> CatalogueVersionOf(std::string_view body) { return VersionGroup(NormalizeVersionText(body), 1); }
std::optional<int> ProgramVersionOf(std::string_view body) { return VersionGroup(NormalizeVersionText(body), 6); }

}  // namespace wt
