#pragma once
// The two error classes of the data set: EzDatasetError for the engine's own refusals and
// EDatabaseError for the framework refusals ("zDataset1: Field 'X' not found").
#include <stdexcept>
#include <string>

namespace wt {

class EzDatasetError : public std::runtime_error {
public:
    explicit EzDatasetError(const std::string& message) : std::runtime_error(message) {}
};

class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const std::string& message) : std::runtime_error(message) {}
};

// The framework's own texts, formed "%s: %s" with the data set's name when it has one.
namespace dbtext {
inline constexpr const char* kDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* kDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* kDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* kNotEditing = "Dataset not in edit or insert mode";
}  // namespace dbtext

}  // namespace wt
