#pragma once
// The Manage Genres dialog: pick a genre, see its stations, delete a station or the whole
// genre (blacklisting every deleted title), edit a station or add a new one.
#include <QDialog>

#include <cstdint>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace wt::ui {

class BrowseCommands;
class TForm1;

class TForm5 : public QDialog {
public:
    TForm5(TForm1& window, BrowseCommands& commands);

    void FormCreate();
    void TeSComboBox1Change();
    void TeListBox1Click();
    void TeButton8Click();   // Delete Genre
    void TeButton10Click();  // Add Station
    void TeButton9Click();   // Delete Station
    void TeButton11Click();  // Edit Station
    void TeButton7Click();   // Add
    void TeButton12Click();  // Apply
    void TeButton13Click();  // Cancel
    // Esc: leaves the editor like "Cancel", or closes the dialog from the list.
    void reject() override;
    void PopulateStationsMG(const QString& genre);
    bool CheckAddModifyStationControls();

    QComboBox* TeSComboBox1;   // genre chooser
    QListWidget* TeListBox1;   // station titles of the chosen genre
    QPushButton* TeButton8;    // Delete Genre
    QPushButton* TeButton10;   // Add Station
    QPushButton* TeButton9;    // Delete Station
    QPushButton* TeButton11;   // Edit Station
    QComboBox* TeSComboBox2;   // editor: genre
    QLineEdit* urlEdit;
    QLineEdit* titleEdit;
    QSpinBox* bitRateEdit;
    QPushButton* TeButton7;    // Add
    QPushButton* TeButton12;   // Apply

private:
    void FillGenreChoosers();
    void ShowList();
    void SelectGenre(const QString& genre);
    // The editor in front with its save button ("Add" or "Apply") shown and pressed by Enter.
    void ShowEditor(QPushButton* save);
    void SetDefaultButton(QPushButton* button);
    bool EditorShown() const;
    TForm1& window_;
    BrowseCommands& commands_;
    QStackedWidget* pages_;
    QPushButton* done_;
    // The catalogue ID of the station each row shows; grows with the list.
    std::vector<std::int32_t> ListStationIDs;
    std::int32_t editedId_ = 0;
};

}  // namespace wt::ui
