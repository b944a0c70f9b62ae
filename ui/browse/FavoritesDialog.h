#pragma once
// Asks which favourite group a station goes to: the existing names to pick from, or a new
// name typed in. Stores nothing itself.
#include <QDialog>
#include <QStringList>

class QComboBox;

namespace wt::ui {

class TForm2 : public QDialog {
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Shows the dialog modally with the names (the first selected); returns the box's text,
    // untrimmed, when closed with "Add", or an empty text otherwise.
    QString ChooseCategory(const QStringList& names);
    QComboBox* ComboBox1() const { return combo_; }

private:
    QComboBox* combo_;
};

}  // namespace wt::ui
