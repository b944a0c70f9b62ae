#pragma once
// The About box: the program's name and version, a notice against unauthorised copying and a
// link to the vendor's web site. Shown modally, centred on its owner.
#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;
class QPushButton;

namespace wt::ui {

class TfAbout : public QDialog {
    Q_OBJECT
public:
    // siteUrl is the vendor's home page; opener opens it when the link is clicked.
    TfAbout(QWidget* owner, const QUrl& siteUrl, std::function<void(const QUrl&)> opener);

    QLabel* Title() const { return title_; }
    QLabel* Link() const { return link_; }
    QPushButton* OkButton() const { return ok_; }

    void Label1Click();    // the link label
    void TeButton1Click(); // "Ok"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QUrl siteUrl_;
    std::function<void(const QUrl&)> opener_;
    QLabel* title_;
    QLabel* link_;
    QPushButton* ok_;
};

}  // namespace wt::ui
