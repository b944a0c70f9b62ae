#pragma once
// The filter language of a TzDataset: conditions "field operator value" joined by and, or,
// and not, or not (the first may start with not), evaluated left to right without
// precedence. Text comparisons ignore case; a text value ending in '*' matches the start.
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace wt {

class TzDataset;
class TzField;

class FilterExpression {
public:
    // Parses text (already lower-cased and trimmed); refusals are EzDatasetError.
    static std::unique_ptr<FilterExpression> Parse(const std::string& text, TzDataset& dataset);
    // Whether the data set's candidate record passes.
    bool Evaluate(TzDataset& dataset) const;

    enum class Op { Eq, Ne, Lt, Le, Gt, Ge };
    enum class Join { And, Or };
    struct Condition {
        bool negated = false;
        Join join = Join::And;  // how it joins the result so far (unused for the first)
        TzField* field = nullptr;
        Op op = Op::Eq;
        std::string text;  // text value, lower-cased, without a trailing '*'
        bool prefix = false;
        std::variant<std::monostate, long long, double> number;
    };

private:
    bool Test(const Condition& c, const unsigned char* record) const;
    std::vector<Condition> conditions_;
};

}  // namespace wt
