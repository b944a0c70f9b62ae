#include "Csv.h"

namespace wt::csv {

std::vector<Row> Parse(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool inQuotes = false, fieldStarted = false;
    int line = 1, quoteLine = 0;
    auto endField = [&] {
        row.push_back(std::move(field));
        field.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == '\n') ++line;
                field += c;
            }
        } else if (c == '"' && !fieldStarted) {
            inQuotes = fieldStarted = true;
            quoteLine = line;
        } else if (c == ',') {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endField();
            rows.push_back(std::move(row));
            row.clear();
            ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (inQuotes) throw CsvError("CSV line " + std::to_string(quoteLine) + ": unterminated quoted field");
    if (fieldStarted || !row.empty()) {
        endField();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string FormatRow(const Row& row) {
    std::string out;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) out += ',';
        const std::string& f = row[i];
        if (f.find_first_of(",\"\r\n") == std::string::npos) {
            out += f;
            continue;
        }
        out += '"';
        for (char c : f) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
    return out;
}

}  // namespace wt::csv
