#pragma once
#include <stdexcept>
#include <string>

namespace wt {

// Errors of the settings store; the message is the text shown to the user.
class EzIniDataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace wt
