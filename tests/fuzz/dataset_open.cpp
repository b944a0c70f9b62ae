// Opens arbitrary bytes as a data set file, walks every record reading every field, searches,
// adds, sorts and deletes. Refusals are fine; crashes, leaks and reads past buffers are not.
// A file judged to have a torn tail must open once the tail is cut.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/CatalogueRepair.h"
#include "catalogue/zDataset.h"

#include <cstdlib>

namespace {

void ReadAll(wt::TzField& field) {
    try {
        (void)field.AsString();
        (void)field.AsInteger();
        (void)field.AsFloat();
        (void)field.AsDateTime();
        (void)field.IsNull();
    } catch (const std::exception&) {
        // Text that is not a number is refused by the numeric reads.
    }
}

void Exercise(const std::string& path) {
    wt::TzDataset ds("zFuzz");
    ds.SetFileName(path);
    try {
        ds.Open();
    } catch (const std::exception&) {
        return;
    }
    try {
        for (ds.First(); !ds.Eof(); ds.Next())
            for (int i = 0; i < ds.FieldCount(); ++i) ReadAll(ds.Fields(i));
        for (ds.Last(); !ds.Bof(); ds.Prior()) {
        }
        if (ds.FieldCount() > 0) {
            wt::TzField& first = ds.Fields(0);
            (void)ds.FindFirstValue(first, "x");
            (void)ds.FindFirstValue(first, 7);
            ds.Append();
            first.SetAsString("5");
            ds.Post();
            if (ds.RecordCount() < 2000) ds.SetIndexFields(first.FieldName());
            ds.First();
            ds.Delete();
        }
    } catch (const std::exception&) {
        // Fields of unknown types and odd values refuse some of these steps.
    }
    try {
        ds.Close();
    } catch (const std::exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An in-memory file: the engine needs a path it can open for reading and writing.
    int fd = ::memfd_create("dataset", 0);
    if (fd < 0) return 0;
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (wt::InspectDataSetFile(path).kind == wt::DataSetDamage::Kind::TornTail) {
        wt::CutTornTail(path);
        wt::TzDataset repaired("zFuzz");
        repaired.SetFileName(path);
        try {
            repaired.Open();
        } catch (const std::exception&) {
            std::abort();  // the repair promised a file that opens
        }
    }
    Exercise(path);
    ::close(fd);
    return 0;
}
