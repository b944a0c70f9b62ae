#include "ProgForm.h"

#include "zProgress.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QRegion>
#include <QScreen>

namespace wt {

namespace {

Rgb ToRgb(const QColor& c) { return {c.red(), c.green(), c.blue()}; }

QPainterPath Outline(const QRect& r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), kCornerSize, kCornerSize);
    return path;
}

std::optional<Box> ClientBox(const QWidget* w) {
    if (!w) return std::nullopt;
    const QPoint topLeft = w->mapToGlobal(QPoint(0, 0));
    return Box{topLeft.x(), topLeft.y(), w->width(), w->height()};
}

}  // namespace

TProgForm::TProgForm(TzProgress& component)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      component_(component),
      mainBar_(new QProgressBar(this)),
      topBar_(new QProgressBar(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    for (QProgressBar* bar : {mainBar_, topBar_}) {
        bar->setTextVisible(false);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setMinimum(0);
        bar->setValue(0);
    }
}

void TProgForm::SetTexts(const QString& title, const QString& prompt) {
    title_ = title;
    prompt_ = prompt;
    update();
}

void TProgForm::SetIcon(const QPixmap& icon) {
    icon_ = icon;
    setWindowIcon(QIcon(icon));  // for the desktop's task switcher
    update();
}

void TProgForm::Arrange(QWidget* owner) {
    QFont bold = component_.Font();
    bold.setBold(true);
    const QFontMetrics titleMetrics(bold);
    const QFontMetrics promptMetrics(component_.Font());
    geometry_ = LayoutProgress(titleMetrics.horizontalAdvance(title_), titleMetrics.height(),
                               promptMetrics.horizontalAdvance(prompt_), promptMetrics.height(),
                               component_.ProgressBarCount());
    setFixedSize(geometry_.width, geometry_.clientHeight);
    mainBar_->setGeometry(kBarLeft, geometry_.mainBarTop, kBarWidth, kBarHeight);
    topBar_->setGeometry(kBarLeft, geometry_.topBarTop, kBarWidth, kBarHeight);
    topBar_->setVisible(geometry_.topBarVisible);
    mainBar_->setVisible(true);

    QWidget* active = QApplication::activeWindow();
    if (active == this) active = nullptr;
    const QWidget* visibleOwner = owner && owner->isVisible() ? owner->window() : nullptr;
    QScreen* screen = QApplication::primaryScreen();
    const QRect s = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const Point p = PlaceProgress(geometry_.width, ClientBox(active), ClientBox(visibleOwner),
                                  Box{s.x(), s.y(), s.width(), s.height()});
    move(p.x, p.y);
    setMask(QRegion(Outline(rect()).toFillPolygon().toPolygon()));
}

void TProgForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const TBackMode mode = component_.BackMode();
    const QRect r = rect();
    switch (mode) {
        case TBackMode::bmDefault:
            painter.fillRect(r, component_.Color());
            break;
        case TBackMode::bmWallPaper:
            if (component_.WallPaper().isNull())
                painter.fillRect(r, component_.Color());
            else
                painter.drawTiledPixmap(r, component_.WallPaper());
            break;
        default: {
            const bool horizontal = BandsAreHorizontal(mode);
            const int size = horizontal ? r.height() : r.width();
            for (const Band& band : GradientBands(mode, ToRgb(component_.StartColor()), ToRgb(component_.EndColor()), size)) {
                const QColor c(band.colour.r, band.colour.g, band.colour.b);
                if (horizontal)
                    painter.fillRect(QRect(0, band.from, r.width(), band.to - band.from), c);
                else
                    painter.fillRect(QRect(band.from, 0, band.to - band.from, r.height()), c);
            }
        }
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPath(Outline(r));
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (!icon_.isNull()) painter.drawPixmap(kIconLeft, kIconTop, icon_);

    QFont bold = component_.Font();
    bold.setBold(true);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.setFont(bold);
    const QFontMetrics titleMetrics(bold);
    painter.drawText(kBarLeft, kTitleTop + titleMetrics.ascent(), title_);
    painter.setFont(component_.Font());
    painter.drawText(kBarLeft, geometry_.promptTop + QFontMetrics(component_.Font()).ascent(), prompt_);
}

void TProgForm::changeEvent(QEvent* event) {
    // When another window takes activation, stay on top without taking it back.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible()) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, component_.Color());
        setPalette(pal);
        raise();
    }
    QWidget::changeEvent(event);
}

}  // namespace wt
