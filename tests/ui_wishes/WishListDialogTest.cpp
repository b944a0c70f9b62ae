// The wish list dialog on a real settings file, with the searches it starts and stops recorded.
#include "ScriptedDialogs.h"
#include "TempFolder.h"
#include "WishListDialog.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

namespace {

using wt::ui::TForm7;

struct WishDialogFixture : ::testing::Test {
    wt::test::TempFolder folder;
    wt::test::ScriptedDialogs dialogs;
    wt::TzIniData settings{"cfg.dat", false, folder.Path()};
    std::vector<std::string> wishList, newWishes, running;

    std::unique_ptr<TForm7> Open() {
        wt::ui::WishSearchControl control;
        control.AddWish = [this](const std::string& w) { running.push_back(w); };
        control.RemoveWish = [this](const std::string& w) { std::erase(running, w); };
        control.StopAllWishes = [this] { running.clear(); };
        return std::make_unique<TForm7>(nullptr, dialogs, settings, wishList, newWishes, control);
    }
};

TEST_F(WishDialogFixture, AddRefusesCaseInsensitiveDuplicatesAndDoneRestartsEverySearchOnce) {
    settings.WriteStrings("Wishes", {"beatles"});
    running = {"beatles"};
    auto dialog = Open();
    EXPECT_EQ(wishList, std::vector<std::string>{"beatles"});
    EXPECT_FALSE(dialog->TeButton16->isEnabled());
    EXPECT_TRUE(dialog->TeButton19->isEnabled());

    dialogs.InputNext(QString("BEATLES"));
    dialog->TeButton17Click();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, "A Wish already exists with such string");
    EXPECT_EQ(dialogs.shown[0].caption, "Wish-Lists");

    dialogs.InputNext(QString("madonna"));
    dialog->TeButton17Click();
    dialogs.InputNext(std::nullopt);  // cancelled: nothing changes
    dialog->TeButton17Click();
    EXPECT_EQ(settings.ReadString("Wishes", ""), "beatles\r\nmadonna\r\n");
    EXPECT_EQ(newWishes, std::vector<std::string>{"madonna"});
    EXPECT_EQ(running, std::vector<std::string>{"beatles"});  // not searched before Done

    dialog->TeButton18Click();
    EXPECT_EQ(running, (std::vector<std::string>{"beatles", "madonna"}));
    EXPECT_TRUE(newWishes.empty());
}

TEST_F(WishDialogFixture, RemovingTheLastWishDropsTheSettingAndClearAllAsksFirst) {
    settings.WriteStrings("Wishes", {"one", "two"});
    running = {"one", "two"};
    auto dialog = Open();
    dialog->TeListBox3->setCurrentRow(0);
    EXPECT_TRUE(dialog->TeButton16->isEnabled());
    dialog->TeButton16Click();
    EXPECT_EQ(running, std::vector<std::string>{"two"});
    EXPECT_EQ(settings.ReadString("Wishes", ""), "two\r\n");

    dialogs.AnswerNo();
    dialog->TeButton19Click();
    EXPECT_EQ(wishList, std::vector<std::string>{"two"});
    dialogs.AnswerYes();
    dialog->TeButton19Click();
    EXPECT_FALSE(settings.ValueExists("Wishes"));
    EXPECT_TRUE(wishList.empty());
    EXPECT_FALSE(dialog->TeButton19->isEnabled());
    EXPECT_EQ(running, std::vector<std::string>{"two"});  // searches go on until Done
    dialog->TeButton18Click();
    EXPECT_TRUE(running.empty());
}

}  // namespace
