#include "ScriptedDialogs.h"
#include "settings/zIniData.h"
#include "ui/update/AddBlackList.h"
#include "ui/update/UpdateConfig.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace wt {
namespace {

class UpdateConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/wt_ui_update_XXXXXX";
        folder = std::string(::mkdtemp(pattern)) + "/";
        settings.SetFileName(folder + "cfg.dat");
    }
    void TearDown() override {
        settings.SetActive(false);
        std::filesystem::remove_all(folder);
    }
    std::unique_ptr<TForm6> Open() {
        auto dialog = std::make_unique<TForm6>(nullptr, settings, blackList);
        dialog->SetAskTitle([this](QWidget*) { return typed; });
        dialog->SetDialogs(dialogs);
        return dialog;
    }
    // The user picks a position in a list.
    static void Choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    std::string FileBytes() {
        std::ifstream in(folder + "cfg.dat", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string folder;
    TzIniData settings;
    std::vector<std::string> blackList;
    QString typed;
    test::ScriptedDialogs dialogs;
};

TEST_F(UpdateConfigTest, OpeningShowsTheStoredValuesAndWritesNothing) {
    settings.WriteBool("HigherEnabled", true);
    settings.WriteInteger("HigherIndex", 3);
    settings.WriteBool("LowerEnabled", true);
    settings.WriteInteger("LowerIndex", 6);
    settings.WriteBool("AutoUpdate", true);
    blackList = {"First Radio", "Second Radio"};
    const std::string before = FileBytes();

    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "Update Configuration");
    EXPECT_EQ(dialog->cbHigher->currentText(), "48");
    EXPECT_EQ(dialog->cbLower->currentText(), "128");
    EXPECT_TRUE(dialog->chkHigher->isChecked());
    EXPECT_TRUE(dialog->chkLower->isChecked());
    EXPECT_TRUE(dialog->cbHigher->isEnabled());
    EXPECT_TRUE(dialog->cbLower->isEnabled());
    EXPECT_TRUE(dialog->TeCheckBox1->isChecked());
    ASSERT_EQ(dialog->TeListBox2->count(), 2);
    EXPECT_EQ(dialog->TeListBox2->item(1)->text(), "Second Radio");
    dialog->bDoneClick();
    EXPECT_EQ(FileBytes(), before);

    settings.WriteBool("HigherEnabled", false);
    auto fresh = Open();
    EXPECT_FALSE(fresh->cbHigher->isEnabled());
}

TEST_F(UpdateConfigTest, CheckBoxesEnableTheirListsAndWriteAtOnce) {
    auto dialog = Open();
    EXPECT_FALSE(dialog->cbHigher->isEnabled());
    EXPECT_EQ(dialog->cbHigher->currentText(), "16");
    dialog->chkHigher->click();
    EXPECT_TRUE(dialog->cbHigher->isEnabled());
    EXPECT_TRUE(settings.ReadBool("HigherEnabled", false));
    dialog->chkLower->click();
    EXPECT_TRUE(settings.ReadBool("LowerEnabled", false));
    dialog->chkLower->click();
    EXPECT_FALSE(dialog->cbLower->isEnabled());
    EXPECT_FALSE(settings.ReadBool("LowerEnabled", true));
    dialog->TeCheckBox1->click();
    EXPECT_TRUE(settings.ReadBool("AutoUpdate", false));
}

TEST_F(UpdateConfigTest, AnUpperBoundBelowTheLowerOneIsDropped) {
    settings.WriteBool("HigherEnabled", true);
    settings.WriteBool("LowerEnabled", true);
    settings.WriteInteger("LowerIndex", 6);  // 128
    auto dialog = Open();

    Choose(dialog->cbHigher, 8);  // 192 over 128
    EXPECT_EQ(dialog->cbLower->currentText(), "16");
    EXPECT_FALSE(dialog->chkLower->isChecked());
    EXPECT_FALSE(dialog->cbLower->isEnabled());
    EXPECT_FALSE(settings.ReadBool("LowerEnabled", true));
    EXPECT_EQ(settings.ReadInteger("HigherIndex", -1), 8);

    dialog->chkLower->click();
    Choose(dialog->cbLower, 5);  // 96 under 192: snaps back
    EXPECT_EQ(dialog->cbLower->currentIndex(), 0);
    EXPECT_FALSE(dialog->chkLower->isChecked());
    EXPECT_EQ(settings.ReadInteger("LowerIndex", -1), 0);
    EXPECT_FALSE(settings.ReadBool("LowerEnabled", true));

    Choose(dialog->cbLower, 8);  // equal passes
    EXPECT_EQ(settings.ReadInteger("LowerIndex", -1), 8);
}

TEST_F(UpdateConfigTest, AddTakesTitlesLongerThanFourCharactersNotYetCovered) {
    blackList = {"Rock Radio"};
    auto dialog = Open();
    struct Case {
        const char* typed;
        bool added;
        bool error;
    };
    const Case cases[] = {
        {"", false, false},
        {"Jazz", false, true},         // four characters
        {"Rock", false, false},        // part of an entry: silently dropped, though short
        {"Rock Radio 24", false, false},  // contains an entry
        {"Blues", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.shown.clear();
        const size_t before = blackList.size();
        typed = c.typed;
        dialog->TeButton1Click();
        EXPECT_EQ(blackList.size(), before + (c.added ? 1 : 0));
        EXPECT_EQ(dialogs.Messages(), c.error ? QStringList{"Invalid Radio Station!"} : QStringList{});
    }
    EXPECT_EQ(dialog->TeListBox2->count(), 2);
    EXPECT_EQ(settings.ReadString("BlackList", ""), "Rock Radio\r\nBlues\r\n");
}

TEST_F(UpdateConfigTest, RemoveTakesTheFirstEntryIgnoringCaseAndTheSelectedRow) {
    blackList = {"Alpha Radio", "Beta Radio", "ALPHA radio"};
    auto dialog = Open();
    dialog->TeButton3Click();  // nothing selected
    EXPECT_EQ(blackList.size(), 3u);

    dialog->TeListBox2->setCurrentRow(2);
    dialog->TeButton3Click();
    EXPECT_EQ(blackList, (std::vector<std::string>{"Beta Radio", "ALPHA radio"}));
    ASSERT_EQ(dialog->TeListBox2->count(), 2);
    EXPECT_EQ(dialog->TeListBox2->item(0)->text(), "Alpha Radio");
    EXPECT_EQ(settings.ReadString("BlackList", ""), "Beta Radio\r\nALPHA radio\r\n");

    dialog->TeListBox2->setCurrentRow(0);
    dialog->TeButton3Click();
    dialog->TeListBox2->setCurrentRow(0);
    dialog->TeButton3Click();
    EXPECT_TRUE(blackList.empty());
    EXPECT_EQ(settings.ReadString("BlackList", "gone"), "gone");  // an empty list removes the setting
}

TEST(AddBlackListDialog, ReturnsTheTextOnlyOnAdd) {
    for (bool add : {true, false}) {
        QTimer::singleShot(0, [add] {
            auto* dialog = qobject_cast<TForm3*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Add BlackList");
            dialog->TeEdit1()->setText("Some Radio");
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == (add ? "Add" : "Cancel")) b->click();
        });
        EXPECT_EQ(TForm3::AskTitle(nullptr), add ? QString("Some Radio") : QString());
    }
}

}  // namespace
}  // namespace wt
