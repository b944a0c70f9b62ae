#include "AboutBox.h"

#include "ButtonNames.h"
#include "CommandIcons.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace wt::ui {

TfAbout::TfAbout(QWidget* owner, const QUrl& siteUrl, std::function<void(const QUrl&)> opener)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      siteUrl_(siteUrl), opener_(std::move(opener)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(295, 277);

    auto* picture = new QLabel(this);
    picture->setGeometry(8, 8, 33, 33);
    picture->setPixmap(ProgramIcon().pixmap(33, 33));
    picture->setScaledContents(true);

    title_ = new QLabel(QStringLiteral("Wavetrap v1.0"), this);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(24);
    title_->setFont(titleFont);
    title_->move(55, 10);
    title_->adjustSize();

    auto* notice = new QLabel(
        QStringLiteral("Warning: this program is protected by copyright law. Unauthorised "
                       "copying or distribution of this program, or of any part of it, may "
                       "result in civil and criminal penalties."),
        this);
    QFont bold = notice->font();
    bold.setBold(true);
    notice->setFont(bold);
    notice->setWordWrap(true);
    notice->setGeometry(7, 98, 280, 91);

    link_ = new QLabel(siteUrl_.host().isEmpty() ? siteUrl_.toString() : siteUrl_.host(), this);
    link_->setFont(bold);
    link_->setCursor(Qt::PointingHandCursor);
    link_->setStyleSheet(QStringLiteral("color: #1a4fa0;"));
    link_->move(171, 202);
    link_->adjustSize();
    if (link_->x() + link_->width() > width() - 4)
        link_->move(std::max(4, width() - 4 - link_->width()), 202);
    link_->installEventFilter(this);

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setGeometry(8, 232, 75, 25);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &TfAbout::TeButton1Click);
    NameButtonsByCaption(this);

    if (owner) {
        QPoint centre = owner->geometry().center();
        move(centre.x() - width() / 2, centre.y() - height() / 2);
    }
}

void TfAbout::Label1Click() {
    if (opener_) opener_(siteUrl_);
}

void TfAbout::TeButton1Click() { close(); }

bool TfAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == link_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace wt::ui
