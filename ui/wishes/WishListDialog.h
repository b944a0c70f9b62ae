#pragma once
// The Manage Wish List dialog: adds, removes and clears wishes, keeping the "Wishes" setting
// and the window's WishList current at every change, and restarts the wish searches on
// "Done" so that exactly one search runs per listed wish.
#include "UserDialogs.h"
#include "settings/zIniData.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace wt::ui {

// The wish searches the dialog starts and stops (the ripping manager's).
struct WishSearchControl {
    std::function<void(const std::string&)> AddWish;
    std::function<void(const std::string&)> RemoveWish;
    std::function<void()> StopAllWishes;
    // When and where a wish last matched a playing song ("" when it has not yet).
    std::function<QString(const std::string&)> LastMatch;
    // Where the searches look and how that went, shown while no wish is selected ("" for none).
    std::function<QString()> LookingAt;
};

// The dialog's line about the selected wish's last match.
inline constexpr const char* kNoWishSelected = "Select a wish to see when it last matched.";
inline constexpr const char* kNotMatchedYet = "Not matched yet.";

// The wishes in a text typed or pasted into the input box: one per line, each trimmed, empty
// lines left out.
std::vector<std::string> WishLines(const QString& text);

class TForm7 : public QDialog {
public:
    TForm7(QWidget* parent, UserDialogs& dialogs, TzIniData& settings, std::vector<std::string>& wishList,
           std::vector<std::string>& newWishes, WishSearchControl searches);

    void ReloadWishesListBox();
    void TeListBox3Click();
    void TeButton17Click();  // Add
    void TeButton16Click();  // Remove
    void TeButton19Click();  // Clear All
    void TeButton18Click();  // Done

    QListWidget* TeListBox3 = nullptr;
    QPushButton* TeButton17 = nullptr;
    QPushButton* TeButton16 = nullptr;
    QPushButton* TeButton19 = nullptr;
    QPushButton* TeButton18 = nullptr;
    QLabel* lLastMatch = nullptr;  // the selected wish's last match

private:
    void WriteWishes();
    QString LastMatchText(const std::string& wish) const;
    QWidget* panel_;
    UserDialogs& dialogs_;
    TzIniData& settings_;
    std::vector<std::string>& wishList_;
    std::vector<std::string>& newWishes_;
    WishSearchControl searches_;
};

}  // namespace wt::ui
