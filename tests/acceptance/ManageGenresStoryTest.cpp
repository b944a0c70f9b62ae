// A user edits the catalogue by hand in Manage Genres: adds a station in a new genre, edits one
// chosen with the arrow keys, deletes a station and a whole genre; the main tree and the
// blacklist follow.
#include "ProgramSession.h"

#include "settings/zIniData.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace wt::acceptance {
namespace {

// The dialog's visible parts, found as a person finds them: the genre chooser is the box
// above the list, the editor's genre box is the one that takes typing.
struct GenresDialog {
    explicit GenresDialog(QWidget* d) : dialog(d) {
        for (auto* box : d->findChildren<QComboBox*>()) (box->isEditable() ? genreBox : chooser) = box;
        list = d->findChild<QListWidget*>();
        const auto edits = d->findChildren<QLineEdit*>();
        for (auto* edit : edits)
            if (!edit->parent()->inherits("QComboBox") && !edit->parent()->inherits("QAbstractSpinBox"))
                (url ? title : url) = edit;
        bitRate = d->findChild<QSpinBox*>();
    }
    QStringList Rows() const {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    QStringList Genres() const {
        QStringList out;
        for (int i = 0; i < chooser->count(); ++i) out << chooser->itemText(i);
        return out;
    }
    bool Enabled(const QString& button) const {
        QAbstractButton* found = FindButton(dialog, button);
        return found && found->isEnabled();
    }
    void Retype(QLineEdit* edit, const QString& text) const {
        edit->setFocus();
        edit->selectAll();
        Type(edit, text);
    }
    QWidget* dialog;
    QComboBox* chooser = nullptr;
    QComboBox* genreBox = nullptr;
    QListWidget* list = nullptr;
    QLineEdit* url = nullptr;
    QLineEdit* title = nullptr;
    QSpinBox* bitRate = nullptr;
};

QStringList GenreNodes(ui::TForm1& w) {
    QStringList out;
    for (int i = 0; i < w.GenresRoot()->childCount(); ++i) out << w.GenresRoot()->child(i)->text(0);
    return out;
}

TEST(ManageGenresStory, AddEditAndDeleteStationsAndAGenreAndTheTreeAndBlacklistFollow) {
    ProgramSession session({Station("Jazz", "Jazz One", 64, "http://127.0.0.1:9/j1"),
                             Station("Rock", "Rock One", 128, "http://127.0.0.1:9/r1"),
                             Station("Rock", "Rock Two", 128, "http://127.0.0.1:9/r2"),
                             Station("Rock", "Rock Three", 96, "http://127.0.0.1:9/r3")});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ASSERT_EQ(GenreNodes(w), QStringList({"Jazz", "Rock"}));

    session.answers.ThenAct([&](QWidget* d) {
        GenresDialog g(d);
        ASSERT_TRUE(g.chooser && g.genreBox && g.list && g.url && g.title && g.bitRate);
        EXPECT_EQ(d->windowTitle(), "Manage Genres");
        EXPECT_EQ(g.Genres(), QStringList({"Jazz", "Rock"}));
        EXPECT_EQ(g.Rows(), QStringList{"Jazz One"});

        // A new station in a genre that does not exist yet; Enter adds it.
        Click(d, "Add Station");
        g.Retype(g.genreBox->lineEdit(), "Blues");
        g.Retype(g.url, "http://127.0.0.1:9/b1");
        g.Retype(g.title, "Blues Bar");
        g.bitRate->setFocus();
        g.bitRate->selectAll();
        Type(g.bitRate, "112");
        PressKey(g.title, Qt::Key_Return);
        ASSERT_TRUE(WaitFor([&] { return g.chooser->isVisible(); }, 2000)) << "Enter adds the station";
        EXPECT_EQ(g.Rows(), QStringList{"Jazz One"}) << "back on the first genre";

        // Rock, chosen with the keyboard; its second station chosen with the arrow keys.
        g.chooser->setFocus();
        PressKey(g.chooser, Qt::Key_Down);
        ASSERT_EQ(g.Rows(), QStringList({"Rock One", "Rock Two", "Rock Three"}));
        g.list->setFocus();
        PressKey(g.list, Qt::Key_Down);
        ASSERT_EQ(g.list->currentItem()->text(), "Rock Two");
        EXPECT_TRUE(g.Enabled("Edit Station")) << "a row chosen with the keys can be edited";
        EXPECT_TRUE(g.Enabled("Delete Station"));
        Click(d, "Edit Station");
        EXPECT_EQ(g.title->text(), "Rock Two");
        EXPECT_EQ(g.url->text(), "http://127.0.0.1:9/r2");
        g.Retype(g.title, "Rock Deux");
        // Esc leaves the editor without saving; the dialog stays.
        PressKey(g.title, Qt::Key_Escape);
        ASSERT_TRUE(d->isVisible());
        EXPECT_EQ(g.Rows(), QStringList({"Rock One", "Rock Two", "Rock Three"}));
        Click(d, "Edit Station");
        g.Retype(g.title, "Rock Deux");
        PressKey(g.title, Qt::Key_Return);  // Apply
        ASSERT_TRUE(WaitFor([&] { return g.chooser->isVisible(); }, 2000)) << "Enter applies the change";
        EXPECT_EQ(g.Rows(), QStringList({"Rock One", "Rock Deux", "Rock Three"}));
        EXPECT_EQ(g.list->currentItem()->text(), "Rock Deux");

        // Delete the first Rock station.
        PressKey(g.list, Qt::Key_Up);
        ASSERT_EQ(g.list->currentItem()->text(), "Rock One");
        session.answers.ThenPress("Yes");
        Click(d, "Delete Station");
        ASSERT_TRUE(WaitFor([&] { return g.Rows() == QStringList({"Rock Deux", "Rock Three"}); }, 3000));

        // The whole of Jazz.
        g.chooser->setFocus();
        PressKey(g.chooser, Qt::Key_Up);
        ASSERT_EQ(g.chooser->currentText(), "Jazz");
        session.answers.ThenPress("Yes");
        Click(d, "Delete Genre");
        ASSERT_TRUE(WaitFor([&] { return !g.Genres().contains("Jazz"); }, 3000));
        EXPECT_TRUE(g.Rows().isEmpty());
        EXPECT_FALSE(g.Enabled("Delete Genre"));
        EXPECT_FALSE(g.Enabled("Edit Station"));
        Click(d, "Done");
    });
    Click(&w, "Manage Genres");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && !QApplication::activeModalWidget(); }));

    EXPECT_EQ(GenreNodes(w), QStringList({"Blues", "Rock"}));
    EXPECT_EQ(w.lTotalGenres->text(), "2");
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Rock"));
    ASSERT_TRUE(WaitFor([&] { return ColumnTexts(w.BrowseList, 0) == QStringList({"Rock Deux", "Rock Three"}); }));
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Blues"));
    ASSERT_TRUE(WaitFor([&] { return ColumnTexts(w.BrowseList, 0) == QStringList{"Blues Bar"}; }));
    EXPECT_EQ(ColumnTexts(w.BrowseList, 1), QStringList{"112"});
    TzIniData settings("cfg.dat", false, session.Profile());
    EXPECT_EQ(settings.ReadString("BlackList", ""), "Rock One\r\nJazz One\r\n");
}

}  // namespace
}  // namespace wt::acceptance
