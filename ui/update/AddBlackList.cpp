#include "AddBlackList.h"

#include "ButtonNames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wt {

TForm3::TForm3(QWidget* parent) : QDialog(parent), edit_(new QLineEdit(this)) {
    setWindowTitle("Add BlackList");
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMinimumSize(323, 128);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // not sizeable; wide enough for its texts
    layout->addWidget(new QLabel("Please enter Radio Station's Title you want to BlackList", this));
    edit_->setFixedWidth(265);
    layout->addWidget(edit_);
    auto* hint = new QLabel("Example: Bob's radio station", this);
    QFont italic = hint->font();
    italic.setItalic(true);
    hint->setFont(italic);
    layout->addWidget(hint);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton("Add", this);
    auto* cancel = new QPushButton("Cancel", this);
    add->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(add);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);  // Esc rejects as well
    ui::NameButtonsByCaption(this);
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edit_->setFocus();
}

QString TForm3::AskTitle(QWidget* parent) {
    TForm3 dialog(parent);
    return dialog.exec() == QDialog::Accepted ? dialog.TeEdit1()->text() : QString();
}

}  // namespace wt
