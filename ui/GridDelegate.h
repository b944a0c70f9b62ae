#pragma once
// Grid lines between the cells of a report-style list.
#include <QStyledItemDelegate>

namespace wt::ui {

class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace wt::ui
