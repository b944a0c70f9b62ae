#pragma once
// The Now Playing label: a label that moves a pixel every 10 ms. Its text is drawn once into a
// pixmap when it changes, so each move costs a copy, not a new text layout.
#include <QLabel>
#include <QPixmap>

namespace wt::ui {

class ScrollingLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap cache_;
    QString cachedText_;
    QSize cachedSize_;
};

}  // namespace wt::ui
