#include "catalogue/DatasetFilter.h"

#include "catalogue/FieldText.h"
#include "catalogue/zDataset.h"
#include "platform/StringList.h"

namespace wt {

namespace {

bool IsOpChar(char c) { return c == '<' || c == '=' || c == '>'; }

struct Token {
    std::string text;
    bool quoted = false;
};

std::vector<Token> Tokenize(const std::string& filter) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < filter.size()) {
        char c = filter[i];
        if (c == ' ') {
            ++i;
        } else if (c == '\'') {
            std::size_t end = filter.find('\'', i + 1);
            if (end == std::string::npos) throw EzDatasetError("Missing end of string:\r" + filter);
            tokens.push_back({filter.substr(i + 1, end - i - 1), true});
            i = end + 1;
        } else if (IsOpChar(c)) {
            std::size_t end = i;
            while (end < filter.size() && IsOpChar(filter[end])) ++end;
            tokens.push_back({filter.substr(i, end - i), false});
            i = end;
        } else {
            std::size_t end = i;
            while (end < filter.size() && filter[end] != ' ' && !IsOpChar(filter[end]) && filter[end] != '\'') ++end;
            tokens.push_back({filter.substr(i, end - i), false});
            i = end;
        }
    }
    return tokens;
}

[[noreturn]] void RefuseEnding(const std::string& word) {
    throw EzDatasetError("ERROR filter sintax.\n\rYou Can't finish filter string by '" + word + "'.");
}

template <typename T>
bool Holds(FilterExpression::Op op, const T& a, const T& b) {
    switch (op) {
        case FilterExpression::Op::Eq: return a == b;
        case FilterExpression::Op::Ne: return !(a == b);
        case FilterExpression::Op::Lt: return a < b;
        case FilterExpression::Op::Le: return !(b < a);
        case FilterExpression::Op::Gt: return b < a;
        case FilterExpression::Op::Ge: return !(a < b);
    }
    return false;
}

}  // namespace

std::unique_ptr<FilterExpression> FilterExpression::Parse(const std::string& text, TzDataset& dataset) {
    auto expression = std::make_unique<FilterExpression>();
    std::vector<Token> tokens = Tokenize(text);
    std::size_t i = 0;
    auto word = [&](std::size_t k, const char* w) { return k < tokens.size() && !tokens[k].quoted && tokens[k].text == w; };
    Join join = Join::And;
    while (i < tokens.size()) {
        Condition c;
        c.join = join;
        if (word(i, "not")) {
            c.negated = true;
            if (++i >= tokens.size()) RefuseEnding("not");
        }
        const std::string& name = tokens[i].text;
        c.field = dataset.FindField(name);
        if (c.field == nullptr)
            throw EzDatasetError(text + "\n\rERROR filter string\n\rCan't find field - " + name);
        if (i + 1 >= tokens.size()) RefuseEnding(name);
        const std::string& op = tokens[i + 1].text;
        if (op == "=") c.op = Op::Eq;
        else if (op == "<>") c.op = Op::Ne;
        else if (op == "<") c.op = Op::Lt;
        else if (op == "<=") c.op = Op::Le;
        else if (op == ">") c.op = Op::Gt;
        else if (op == ">=") c.op = Op::Ge;
        else throw EzDatasetError("ERROR filter operator\n\r" + op);
        if (i + 2 >= tokens.size()) RefuseEnding(op);
        std::string value = tokens[i + 2].text;
        switch (c.field->DataType()) {
            case FieldType::ftString:
                if (!value.empty() && value.back() == '*') {
                    c.prefix = true;
                    value.pop_back();
                }
                c.text = AsciiLower(value);
                break;
            case FieldType::ftFloat:
            case FieldType::ftCurrency: {
                auto v = ParseFloat(value);
                if (!v) throw EzDatasetError("ERROR assign value\n\r" + value);
                c.number = *v;
                break;
            }
            case FieldType::ftDate:
            case FieldType::ftTime:
            case FieldType::ftDateTime: {
                auto v = ParseDateTime(value);
                if (!v) throw EzDatasetError("ERROR assign value\n\r" + value);
                c.number = *v;
                break;
            }
            case FieldType::ftBoolean: {
                if (value == "true" || value == "1") c.number = 1LL;
                else if (value == "false" || value == "0") c.number = 0LL;
                else throw EzDatasetError("ERROR assign value\n\r" + value);
                break;
            }
            default: {
                auto v = ParseInteger(value);
                if (!v) throw EzDatasetError("ERROR assign value\n\r" + value);
                c.number = static_cast<long long>(*v);
            }
        }
        expression->conditions_.push_back(std::move(c));
        i += 3;
        if (i >= tokens.size()) break;
        if (word(i, "and")) join = Join::And;
        else if (word(i, "or")) join = Join::Or;
        else throw EzDatasetError("ERROR filter sintax.\n\r" + tokens[i].text);
        const std::string joinWord = tokens[i].text;
        ++i;
        if (i >= tokens.size()) RefuseEnding(joinWord);
    }
    return expression;
}

bool FilterExpression::Test(const Condition& c, const unsigned char* record) const {
    bool result;
    if (auto v = std::get_if<long long>(&c.number)) {
        result = Holds(c.op, static_cast<long long>(c.field->IntegerIn(record)), *v);
    } else if (auto d = std::get_if<double>(&c.number)) {
        double stored = c.field->DataType() == FieldType::ftFloat || c.field->DataType() == FieldType::ftCurrency
                            ? c.field->FloatIn(record)
                            : c.field->DateTimeIn(record);
        result = Holds(c.op, stored, *d);
    } else {
        std::string stored = AsciiLower(c.field->StringIn(record));
        if (c.prefix && stored.size() > c.text.size()) stored.resize(c.text.size());
        result = Holds(c.op, stored, c.text);
    }
    return c.negated ? !result : result;
}

bool FilterExpression::Evaluate(TzDataset& dataset) const {
    const unsigned char* record = dataset.ActiveBuffer();
    try {
        bool result = true;
        for (std::size_t k = 0; k < conditions_.size(); ++k) {
            const Condition& c = conditions_[k];
            // A condition whose outcome cannot change the result so far is skipped, but
            // evaluation goes on: "a and b or c" is (a and b) or c, read left to right.
            if (k > 0 && ((!result && c.join == Join::And) || (result && c.join == Join::Or))) continue;
            result = Test(c, record);
        }
        return result;
    } catch (const std::exception&) {
        throw EzDatasetError("ERROR filter opration");
    }
}

}  // namespace wt
