#pragma once
// Assistive technology (and the acceptance tests) find a dialog's buttons by accessible name;
// every button is named by its caption, without the mnemonic marker.
#include <QAbstractButton>
#include <QWidget>

namespace wt::ui {

// Names every button under root that has no accessible name yet.
inline void NameButtonsByCaption(QWidget* root) {
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (!button->accessibleName().isEmpty() || button->text().isEmpty()) continue;
        QString caption = button->text();
        caption.remove(QLatin1Char('&'));
        button->setAccessibleName(caption);
    }
}

}  // namespace wt::ui
