#pragma once
// Comma-separated values as RFC 4180 has them: fields quoted when they hold a comma, a quote
// or a line break, quotes doubled, records ended by CR LF.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wt::csv {

class CsvError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Row = std::vector<std::string>;

// Splits text into rows. Accepts CR LF or LF record ends, a missing last record end and a
// UTF-8 byte order mark; an unterminated quoted field is a CsvError naming its line.
std::vector<Row> Parse(std::string_view text);
// One record with its CR LF.
std::string FormatRow(const Row& row);

}  // namespace wt::csv
