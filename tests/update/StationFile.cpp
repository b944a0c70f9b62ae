#include "StationFile.h"

namespace wt::test {

void WriteStationFile(const std::string& path, const std::vector<StationRecord>& stations) {
    TzDataset file("upd");
    StationFields fields = DeclareStationFields(file);
    file.SetFileName(path);
    file.Open();
    for (const StationRecord& s : stations) {
        file.Append();
        WriteStation(fields, s);
        file.Post();
    }
    file.Close();
}

}  // namespace wt::test
