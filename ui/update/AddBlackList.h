#pragma once
// TForm3, "Add BlackList": asks for one station title to blacklist.
#include <QDialog>

class QLineEdit;

namespace wt {

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent);
    QLineEdit* TeEdit1() const { return edit_; }

    // Shows the dialog modally; the typed title when the user pressed "Add", else "".
    static QString AskTitle(QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;  // FormActivate: focus the edit box

private:
    QLineEdit* edit_;
};

}  // namespace wt
