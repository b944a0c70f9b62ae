// Every dialog of the window answers the keyboard as dialogs do: Enter presses its default
// button, Esc closes it without a change; and every button is named by its caption for
// assistive technology.
#include "ProgramSession.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace wt::acceptance {
namespace {

// The visible buttons whose accessible name is not their caption.
QStringList UnnamedButtons(QWidget* dialog) {
    QStringList out;
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty()) continue;
        QString caption = button->text();
        caption.remove(QLatin1Char('&'));
        if (button->accessibleName() != caption) out << caption;
    }
    return out;
}

struct Opened {
    QString title;
    QStringList unnamed;
    bool closed = false;
};

// Opens a dialog with the window's button, and in it presses key; notes whether that closed it.
DialogAnswers::Answer PressIn(int key, Opened* seen) {
    return [key, seen](QWidget* dialog) {
        seen->title = dialog->windowTitle();
        seen->unnamed = UnnamedButtons(dialog);
        QPointer<QWidget> target(dialog);
        PressKey(dialog->focusWidget() ? dialog->focusWidget() : dialog, key);
        seen->closed = !target || !target->isVisible();
        if (!seen->closed) static_cast<QDialog*>(dialog)->done(QDialog::Rejected);
    };
}

TEST(DialogKeys, EnterAndEscCloseEveryDialogOfTheWindowAndItsButtonsAreNamed) {
    ProgramSession session({Station("Rock", "Rock FM", 128, "http://127.0.0.1:9/")});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    struct Case {
        const char* button;
        const char* title;
    };
    const Case cases[] = {{"Manage Genres", "Manage Genres"},
                          {"Manage Wish List", "Manage Wish List"},
                          {"Update Configuration", "Update Configuration"},
                          {"About", "About"}};
    for (const Case& c : cases) {
        for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
            SCOPED_TRACE(std::string(c.button) + (key == Qt::Key_Escape ? " Esc" : " Enter"));
            Opened seen;
            session.answers.Then(PressIn(key, &seen));
            Click(&w, c.button);
            ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && !QApplication::activeModalWidget(); }));
            EXPECT_EQ(seen.title, c.title);
            EXPECT_TRUE(seen.closed);
            EXPECT_EQ(seen.unnamed, QStringList{});
        }
    }
}

TEST(DialogKeys, EscInTheFavoritesDialogAndInAQuestionChangesNothingAndEnterSaysYes) {
    ProgramSession session({Station("Rock", "Rock FM", 128, "http://127.0.0.1:9/"),
                             Station("Rock", "Rock Two", 128, "http://127.0.0.1:9/")});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Rock"));
    ASSERT_TRUE(WaitFor([&] { return w.BrowseList->topLevelItemCount() == 2; }));
    ClickItem(w.BrowseList, w.BrowseList->topLevelItem(0));

    Opened favorites;
    session.answers.Then([&](QWidget* dialog) {
        auto* box = dialog->findChild<QComboBox*>();
        ASSERT_NE(box, nullptr);
        Type(box->lineEdit(), "Not Kept");
        PressIn(Qt::Key_Escape, &favorites)(dialog);
    });
    Click(&w, "Add to Favorites");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && !QApplication::activeModalWidget(); }));
    EXPECT_EQ(favorites.title, "Favorites");
    EXPECT_TRUE(favorites.closed);
    EXPECT_EQ(favorites.unnamed, QStringList{});
    EXPECT_EQ(w.FavouritesRoot()->childCount(), 0);

    // The delete question: Esc is No, Enter is Yes.
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        Opened question;
        session.answers.Then(PressIn(key, &question));
        Click(&w, "Delete the station");
        ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && !QApplication::activeModalWidget(); }));
        EXPECT_TRUE(question.closed);
        EXPECT_EQ(question.unnamed, QStringList{});
    }
    EXPECT_EQ(ColumnTexts(w.BrowseList, 0), QStringList{"Rock Two"}) << "only Enter deleted the station";
}

}  // namespace
}  // namespace wt::acceptance
