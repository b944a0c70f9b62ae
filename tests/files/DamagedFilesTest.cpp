// Damaged program files found before the window opens: which file, what the user is asked, and
// what Yes leaves behind (the damaged file kept under a dated name, a file the program opens).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "catalogue/StationCatalogue.h"
#include "files/DamagedFiles.h"
#include "settings/zIniData.h"

namespace wt {
namespace {

namespace fs = std::filesystem;

struct Profile {
    testing::TempFolder temp;
    fs::path dir{temp.Path()};
    ProgramFolders folders = ProgramFolders::AllIn(temp.Path());
    std::string File(const char* name) const { return (dir / name).string(); }
    std::vector<std::string> Aside(const char* name) const {
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string n = e.path().filename().string();
            if (n.rfind(std::string(name) + ".damaged-", 0) == 0) found.push_back(e.path().string());
        }
        return found;
    }
};

TEST(DamagedFiles, SoundOrMissingFilesAskNothing) {
    Profile p;
    EXPECT_TRUE(FindDamagedFiles(p.folders, 0).empty());
    { TzIniData settings(p.File("cfg.dat"), false); }
    { StationCatalogue(p.dir.string()).Open(); }
    EXPECT_TRUE(FindDamagedFiles(p.folders, 0).empty());
}

TEST(DamagedFiles, EmptySettingsFileIsSetAsideForFreshSettings) {
    Profile p;
    std::ofstream(p.File("cfg.dat"));  // 0 bytes
    auto found = FindDamagedFiles(p.folders, 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, p.File("cfg.dat"));
    EXPECT_NE(found[0].question.find("The settings file \"" + p.File("cfg.dat") + "\" is damaged"), std::string::npos);
    EXPECT_NE(found[0].question.find("File is corrapted"), std::string::npos);  // the store's own reason
    found[0].Repair();
    ASSERT_EQ(p.Aside("cfg.dat").size(), 1u);
    EXPECT_EQ(fs::file_size(p.Aside("cfg.dat")[0]), 0u);  // kept as it was
    EXPECT_FALSE(fs::exists(p.File("cfg.dat")));
    TzIniData fresh(p.File("cfg.dat"), false);  // the program starts with a new one
    EXPECT_TRUE(FindDamagedFiles(p.folders, 0).empty());
}

TEST(DamagedFiles, TornCatalogueIsRepairedKeepingEveryWholeStation) {
    Profile p;
    {
        StationCatalogue cat(p.dir.string());
        cat.Open();
        for (int i = 1; i <= 4; ++i) cat.AddStation({0, "G", "S" + std::to_string(i), 1, "u" + std::to_string(i)});
    }
    fs::resize_file(p.File("data.db"), 229 + 4 * 443 - 100);
    auto found = FindDamagedFiles(p.folders, 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].question.find("ends in a damaged record (343 bytes after 3 whole stations)"), std::string::npos)
        << found[0].question;
    found[0].Repair();
    ASSERT_EQ(p.Aside("data.db").size(), 1u);
    EXPECT_EQ(fs::file_size(p.Aside("data.db")[0]), 229u + 4 * 443 - 100);  // the damaged file, whole
    StationCatalogue cat(p.dir.string());
    cat.Open();
    EXPECT_EQ(cat.StationCount(), 3);
    EXPECT_TRUE(cat.DataSetGoto(3));
}

TEST(DamagedFiles, UnreadableCatalogueIsSetAsideForAnEmptyOne) {
    Profile p;
    std::ofstream(p.File("data.db")) << "this is not a data set";
    std::ofstream(p.File("cfg.dat")) << "neither is this a settings file, but it is long enough";
    auto found = FindDamagedFiles(p.folders, 0);
    ASSERT_EQ(found.size(), 2u);  // each named on its own
    EXPECT_NE(found[0].question.find("Wrong file format"), std::string::npos);
    EXPECT_NE(found[1].question.find("The station catalogue \"" + p.File("data.db") + "\" is damaged:\rNot a binary data set file."),
              std::string::npos);
    for (auto& f : found) f.Repair();
    EXPECT_EQ(p.Aside("data.db").size(), 1u);
    EXPECT_EQ(p.Aside("cfg.dat").size(), 1u);
    StationCatalogue cat(p.dir.string());
    cat.Open();
    EXPECT_EQ(cat.StationCount(), 0);
}

}  // namespace
}  // namespace wt
