#pragma once
// What a person at the screen can do, for the acceptance tests: find a widget by its visible
// text or accessible name, click it with the mouse, type, pick from menus and answer the
// program's real dialogs as they open. Nothing here calls a handler of the window.
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QAbstractButton;
class QAction;
class QMenu;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace wt::acceptance {

// Processes events until pred() holds or the time is up; returns pred().
bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 10000);

// The visible button (push or tool button) under root whose text, accessible name or tooltip
// is name; nullptr when there is none.
QAbstractButton* FindButton(QWidget* root, const QString& name);
// Clicks it with the left mouse button; fails the test when it is missing or disabled.
void Click(QWidget* root, const QString& buttonName);
void ClickWidget(QWidget* widget);

// Items of a tree or list widget, by the text of their first column.
QTreeWidgetItem* FindItem(QTreeWidget* tree, const QString& text);
void ClickItem(QTreeWidget* tree, QTreeWidgetItem* item,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void DoubleClickItem(QTreeWidget* tree, QTreeWidgetItem* item);
// Right-clicks the item and picks entry from the menu that opens.
void ContextMenu(QTreeWidget* tree, QTreeWidgetItem* item, const QString& entry);
// Clicks an entry of a menu that is open (or pops it up at a point first, as the tray does).
void PickFromMenu(QMenu* menu, const QString& entry);
void ClickTab(QTabWidget* tabs, const QString& title);

// Answers the program's modal dialogs in the order they open. Each answer gets the dialog;
// the texts of every message box seen are kept.
class DialogAnswers {
public:
    using Answer = std::function<void(QWidget* dialog)>;
    DialogAnswers();
    ~DialogAnswers();
    void Then(Answer answer);
    // Message boxes: click the button with this text ("Yes", "No", "OK").
    void ThenPress(const QString& button);
    // Works in the dialog for as long as it takes: the script runs once the dialog is up and
    // may wait, and the questions its clicks open are answered by the answers queued after
    // it (queue them before the click). A dialog the script leaves open is closed with Esc
    // and fails the test, so that a failed step never leaves the program waiting.
    void ThenAct(Answer script);
    // The folder chooser: type the folder and press Enter; or press Cancel.
    void ThenChooseFolder(const std::string& folder);
    void ThenCancel();
    bool AllAnswered() const;
    // From now on every dialog that opens is closed at once (a test that failed mid-way must
    // not leave the program waiting on a box while it is torn down).
    void DismissEverything();
    // Texts of the message boxes that opened, in order (line breaks as "\n").
    QStringList Seen() const;

private:
    struct State;
    State* state_;
};

// Types text into the widget key by key, as a person types.
void Type(QWidget* widget, const QString& text);
// A key press on the widget (Enter, Esc, the arrows...).
void PressKey(QWidget* widget, int key);
// Pastes text into the widget through the clipboard (Ctrl+V).
void Paste(QWidget* widget, const QString& text);

// Types folder into an open folder chooser and presses Enter.
void ChooseFolderIn(QWidget* chooser, const std::string& folder);

// The texts of a column of a list, top to bottom.
QStringList ColumnTexts(QTreeWidget* list, int column);

}  // namespace wt::acceptance
