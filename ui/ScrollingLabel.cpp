#include "ScrollingLabel.h"

#include <QPaintEvent>
#include <QPainter>

namespace wt::ui {

void ScrollingLabel::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    if (cache_.isNull() || cachedText_ != text() || cachedSize_ != size()) {
        cache_ = QPixmap(size() * ratio);
        cache_.setDevicePixelRatio(ratio);
        cache_.fill(Qt::transparent);
        QPainter painter(&cache_);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(rect(), static_cast<int>(alignment()), text());
        cachedText_ = text();
        cachedSize_ = size();
    }
    QPainter painter(this);
    painter.drawPixmap(event->rect(), cache_, QRectF(QPointF(event->rect().topLeft()) * ratio,
                                                     QSizeF(event->rect().size()) * ratio));
}

}  // namespace wt::ui
