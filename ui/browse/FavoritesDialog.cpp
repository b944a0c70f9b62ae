#include "FavoritesDialog.h"

#include "ButtonNames.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace wt::ui {

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Favorites");
    setFixedSize(299, 128);
    auto* label = new QLabel("Please choose favorite's category.", this);
    label->move(16, 16);
    combo_ = new QComboBox(this);
    combo_->setEditable(true);
    combo_->setCompleter(nullptr);  // no automatic completion while typing
    combo_->setInsertPolicy(QComboBox::NoInsert);
    combo_->setGeometry(16, 40, 265, combo_->sizeHint().height());
    auto* add = new QPushButton("Add", this);
    add->setGeometry(16, 88, 75, 25);
    add->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(112, 88, 75, 25);
    connect(add, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    NameButtonsByCaption(this);
}

QString TForm2::ChooseCategory(const QStringList& names) {
    combo_->clear();
    combo_->addItems(names);
    if (!names.isEmpty()) combo_->setCurrentIndex(0);
    else combo_->setEditText(QString());
    if (exec() != QDialog::Accepted) return QString();
    return combo_->currentText();
}

}  // namespace wt::ui
