// The start-up offer for damaged files, answered as a user would: Yes sets the file aside (or
// repairs a torn catalogue), No leaves every file exactly as it was.
#include "DamagedFilesOffer.h"
#include "ScriptedDialogs.h"
#include "TempFolder.h"

#include "catalogue/StationCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

struct Profile {
    wt::testing::TempFolder temp;
    fs::path dir{temp.Path()};
    wt::ProgramFolders Folders() const { return wt::ProgramFolders::AllIn(dir.string()); }
    int Count() const { return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator())); }
};

TEST(DamagedFilesOffer, NoKeepsTheFileAndYesSetsItAside) {
    Profile p;
    std::ofstream(p.dir / "cfg.dat");  // 0 bytes, as a full disk leaves it
    wt::test::ScriptedDialogs dialogs;
    dialogs.AnswerNo();
    wt::app::OfferDamagedFileRepairs(p.Folders(), dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].type, wt::test::ShownDialog::Type::Question);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QString::fromStdString((p.dir / "cfg.dat").string())));
    EXPECT_TRUE(fs::exists(p.dir / "cfg.dat"));
    EXPECT_EQ(p.Count(), 1);

    dialogs.AnswerYes();
    wt::app::OfferDamagedFileRepairs(p.Folders(), dialogs);
    EXPECT_FALSE(fs::exists(p.dir / "cfg.dat"));
    EXPECT_EQ(p.Count(), 1);  // the set-aside copy
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST(DamagedFilesOffer, YesRepairsATornCatalogue) {
    Profile p;
    {
        wt::StationCatalogue cat(p.dir.string());
        cat.Open();
        cat.AddStation({0, "Rock", "One", 128, "http://127.0.0.1:9/"});
        cat.AddStation({0, "Rock", "Two", 128, "http://127.0.0.1:9/2"});
    }
    fs::resize_file(p.dir / "data.db", fs::file_size(p.dir / "data.db") - 1);
    wt::test::ScriptedDialogs dialogs;
    dialogs.AnswerYes();
    wt::app::OfferDamagedFileRepairs(p.Folders(), dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("442 bytes after 1 whole station)")));
    wt::StationCatalogue cat(p.dir.string());
    cat.Open();
    EXPECT_EQ(cat.StationCount(), 1);
    EXPECT_EQ(p.Count(), 2);  // the repaired catalogue and the damaged one set aside
}

}  // namespace
