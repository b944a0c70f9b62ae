#include "UserActions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <deque>

namespace wt::acceptance {

bool WaitFor(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    // Sleeps between events instead of spinning; the tick wakes the loop to look again.
    QTimer tick;
    tick.start(10);
    while (!pred() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return pred();
}

QAbstractButton* FindButton(QWidget* root, const QString& name) {
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (!button->isVisible()) continue;
        QString text = button->text();
        text.remove(QLatin1Char('&'));
        if (text == name || button->accessibleName() == name || button->toolTip() == name)
            return button;
    }
    return nullptr;
}

void ClickWidget(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isEnabled()) << widget->objectName().toStdString();
    QTest::mouseClick(widget, Qt::LeftButton);
}

void Click(QWidget* root, const QString& buttonName) {
    QAbstractButton* button = FindButton(root, buttonName);
    ASSERT_NE(button, nullptr) << "no visible button " << buttonName.toStdString();
    ASSERT_TRUE(button->isEnabled()) << buttonName.toStdString() << " is disabled";
    QTest::mouseClick(button, Qt::LeftButton);
}

QTreeWidgetItem* FindItem(QTreeWidget* tree, const QString& text) {
    auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive, 0);
    return found.isEmpty() ? nullptr : found.first();
}

namespace {
QPoint CentreOf(QTreeWidget* tree, QTreeWidgetItem* item) {
    tree->scrollToItem(item);
    return tree->visualItemRect(item).center();
}
}  // namespace

void ClickItem(QTreeWidget* tree, QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(item, nullptr);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, modifiers, CentreOf(tree, item));
}

void DoubleClickItem(QTreeWidget* tree, QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    const QPoint at = CentreOf(tree, item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void PickFromMenu(QMenu* menu, const QString& entry) {
    ASSERT_NE(menu, nullptr);
    if (!menu->isVisible()) menu->popup(QPoint(100, 100));
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }, 2000));
    for (QAction* action : menu->actions()) {
        if (action->text() != entry) continue;
        ASSERT_TRUE(action->isVisible() && action->isEnabled()) << entry.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
        return;
    }
    FAIL() << "no menu entry " << entry.toStdString();
}

void ContextMenu(QTreeWidget* tree, QTreeWidgetItem* item, const QString& entry) {
    ClickItem(tree, item);
    const QPoint at = CentreOf(tree, item);
    // What the desktop delivers after a right click.
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &event);
    QMenu* menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())); }, 2000));
    PickFromMenu(menu, entry);
}

void ClickTab(QTabWidget* tabs, const QString& title) {
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) != title) continue;
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(i).center());
        return;
    }
    FAIL() << "no tab " << title.toStdString();
}

QStringList ColumnTexts(QTreeWidget* list, int column) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(column);
    return out;
}

struct DialogAnswers::State {
    std::deque<Answer> answers;
    QStringList seen;
    QPointer<QWidget> last;      // the dialog answered last, so each is answered once
    QPointer<QWidget> lastSeen;  // the message box whose text was kept last
    QPointer<QWidget> waiting;   // a dialog open with no answer for it...
    QElapsedTimer waitingSince;  // ...since then
    QTimer timer;
    bool dismissAll = false;
};

namespace {
// Nobody but the answers can close a modal dialog the test's own click opened: one left
// unanswered this long fails the test and is closed, so that the test goes on.
constexpr int kUnansweredMs = 5000;

void CloseDialog(QWidget* dialog) {
    if (auto* open = qobject_cast<QDialog*>(dialog)) open->done(QDialog::Rejected);
    else dialog->close();
}
}  // namespace

DialogAnswers::DialogAnswers() : state_(new State) {
    state_->timer.setInterval(20);
    QObject::connect(&state_->timer, &QTimer::timeout, [s = state_] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == s->last || !modal->isVisible()) return;
        if (modal != s->lastSeen) {
            s->lastSeen = modal;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) s->seen << box->text();
        }
        if (s->dismissAll) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            return;
        }
        if (s->answers.empty()) {
            if (modal != s->waiting) {
                s->waiting = modal;
                s->waitingSince.start();
            } else if (s->waitingSince.elapsed() > kUnansweredMs) {
                ADD_FAILURE() << "nothing answered the dialog " << modal->windowTitle().toStdString();
                CloseDialog(modal);
            }
            return;
        }
        s->last = modal;
        Answer answer = std::move(s->answers.front());
        s->answers.pop_front();
        answer(modal);
    });
    state_->timer.start();
}

DialogAnswers::~DialogAnswers() { delete state_; }

void DialogAnswers::Then(Answer answer) { state_->answers.push_back(std::move(answer)); }

void DialogAnswers::ThenPress(const QString& button) {
    Then([button](QWidget* dialog) {
        QAbstractButton* found = FindButton(dialog, button);
        ASSERT_NE(found, nullptr) << "no button " << button.toStdString();
        QTest::mouseClick(found, Qt::LeftButton);
    });
}

void ChooseFolderIn(QWidget* chooser, const std::string& folder) {
    ASSERT_NE(qobject_cast<QFileDialog*>(chooser), nullptr) << "not the folder chooser";
    auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->clear();
    QString path = QString::fromStdString(folder);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    // Pasted, as a user pastes a path: typed key by key, the dialog's completion rewrites it.
    QApplication::clipboard()->setText(path);
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    // (The dialog may move into the pasted path's folder and keep only the last name.)
    QTest::keyClick(name, Qt::Key_Return);
}

void DialogAnswers::ThenAct(Answer script) {
    Then([script = std::move(script)](QWidget* dialog) {
        // Run from a timer of its own: while this answer runs, the answering timer is blocked,
        // and the questions the script opens need it.
        QPointer<QWidget> target(dialog);
        QTimer::singleShot(0, dialog, [script, target] {
            script(target);
            if (target && target->isVisible()) {
                ADD_FAILURE() << "the dialog " << target->windowTitle().toStdString() << " was left open";
                CloseDialog(target);
            }
        });
    });
}

void Type(QWidget* widget, const QString& text) {
    ASSERT_NE(widget, nullptr);
    QTest::keyClicks(widget, text);
}

void PressKey(QWidget* widget, int key) {
    ASSERT_NE(widget, nullptr);
    QTest::keyClick(widget, static_cast<Qt::Key>(key));
}

void Paste(QWidget* widget, const QString& text) {
    ASSERT_NE(widget, nullptr);
    QApplication::clipboard()->setText(text);
    QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
}

void DialogAnswers::ThenChooseFolder(const std::string& folder) {
    Then([folder](QWidget* dialog) { ChooseFolderIn(dialog, folder); });
}

void DialogAnswers::ThenCancel() {
    Then([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
}

void DialogAnswers::DismissEverything() { state_->dismissAll = true; }

bool DialogAnswers::AllAnswered() const { return state_->answers.empty(); }

QStringList DialogAnswers::Seen() const { return state_->seen; }

}  // namespace wt::acceptance
