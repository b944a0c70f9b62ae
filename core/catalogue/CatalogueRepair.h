#pragma once
// Telling a data set file that a crash cut short (its last record torn) from one that is
// damaged otherwise, and cutting the torn tail off.
#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace wt {

struct DataSetDamage {
    enum class Kind {
        None,      // missing, or opens as it is
        TornTail,  // sound except for a partial record at the end
        Refused,   // refused for another reason (reason holds the engine's message)
    };
    Kind kind = Kind::None;
    std::string reason;
    std::int64_t wholeRecords = 0;  // TornTail: the records kept by the repair
    std::int64_t strayBytes = 0;    // TornTail: the bytes after the last whole record
};

// Reads the header, descriptors and size of the file at path; changes nothing.
DataSetDamage InspectDataSetFile(const std::string& path, FileSystem& files = RealFileSystem());

// Cuts a torn tail off, keeping every whole record. Throws EzDatasetError when the file is
// not a torn one or cannot be changed.
void CutTornTail(const std::string& path, FileSystem& files = RealFileSystem());

}  // namespace wt
