#pragma once
// TForm6, "Update Configuration": the bit-rate window, the automatic update offer and the
// blacklist. Every change is written to the settings at once; closing stores nothing more.
#include "UserDialogs.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QComboBox;
class QListWidget;
class QPushButton;

namespace wt {

class TzIniData;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    using AskTitle = std::function<QString(QWidget* parent)>;

    // blackList is the window's BlackListEntries, changed in place by Add and Remove.
    TForm6(QWidget* parent, TzIniData& settings, std::vector<std::string>& blackList);

    // Seams for the Add BlackList question and the message boxes (tests answer them); dialogs
    // must outlive the dialog.
    void SetAskTitle(AskTitle ask) { askTitle_ = std::move(ask); }
    void SetDialogs(ui::UserDialogs& dialogs) { dialogs_ = &dialogs; }

    // Handlers, named after their controls.
    void chkHigherClick();
    void chkLowerClick();
    void cbHigherChange();
    void cbLowerChange();
    void TeCheckBox1Click();
    void TeButton1Click();  // Add
    void TeButton3Click();  // Remove
    void bDoneClick();
    void ServerChanged();
    void ResetVersionClick();
    void ShowVersion();

    QListWidget* TeListBox2;
    QCheckBox* chkHigher;
    QComboBox* cbHigher;
    QCheckBox* chkLower;
    QComboBox* cbLower;
    QPushButton* bDone;
    QCheckBox* TeCheckBox1;
    QLineEdit* serverEdit;      // the setting "UpdateServer"
    QLabel* versionLabel;       // the stored catalogue version
    QPushButton* resetVersion;  // starts the catalogue version again from 1
    QPushButton* TeButton1;
    QPushButton* TeButton3;

private:
    void FormCreate();
    void LimitLowerToHigher();
    void WriteBlackList();

    TzIniData& settings_;
    std::vector<std::string>& blackList_;
    AskTitle askTitle_;
    ui::UserDialogs* dialogs_;
};

}  // namespace wt
