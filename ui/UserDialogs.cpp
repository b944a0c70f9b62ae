#include "UserDialogs.h"

#include "ButtonNames.h"

#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace wt::ui {

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information: return QMessageBox::Information;
        case MessageKind::Warning: return QMessageBox::Warning;
        case MessageKind::Error: return QMessageBox::Critical;
        case MessageKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString CaptionOr(const QString& caption) {
    return caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
}

// A question asked from a window that stays on top (the progress window) must not open
// behind it.
void KeepAboveParent(QWidget* box, QWidget* parent) {
    if (parent && parent->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
}

}  // namespace

UserDialogs& QtDialogs() {
    static QtUserDialogs dialogs;
    return dialogs;
}

QString DisplayText(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

bool QtUserDialogs::AskYesNo(QWidget* parent, MessageKind kind, const QString& text,
                             const QString& caption) {
    QMessageBox box(IconOf(kind), CaptionOr(caption), DisplayText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    KeepAboveParent(&box, parent);
    NameButtonsByCaption(&box);
    return box.exec() == QMessageBox::Yes;
}

void QtUserDialogs::ShowMessage(QWidget* parent, MessageKind kind, const QString& text,
                                const QString& caption) {
    QMessageBox box(IconOf(kind), CaptionOr(caption), DisplayText(text), QMessageBox::Ok, parent);
    NameButtonsByCaption(&box);
    box.exec();
}

std::optional<QString> QtUserDialogs::ChooseFolder(QWidget* parent, const QString& title,
                                                   const QString& label) {
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setLabelText(QFileDialog::LookIn, label);
    dialog.setDirectory(QString::fromStdString(UserMusicFolder(FolderEnvironment::FromProcess())));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtUserDialogs::InputText(QWidget* parent, const QString& caption,
                                                const QString& prompt, const QString& initial) {
    // The prompt's own line breaks keep the box narrow; the text keeps the line breaks of a
    // paste, for the caller to split or refuse.
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(DisplayText(prompt));
    dialog.setTextValue(initial);
    dialog.adjustSize();  // builds the dialog's buttons, so that they can be named
    NameButtonsByCaption(&dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtUserDialogs::ChooseFile(QWidget* parent, const QString& title,
                                                 const QString& filter) {
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDirectory(QDir::homePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace wt::ui
