// The update server's version file is untrusted text: both version checks must take any body.
#include "update/VersionFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    (void)wt::CatalogueVersionOf(body);
    (void)wt::ProgramVersionOf(body);
    return 0;
}
