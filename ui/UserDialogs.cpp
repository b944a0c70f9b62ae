#include "UserDialogs.h"

#include "platform/ProgramFolder.h"

#include <QApplication>
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

}  // namespace

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
    return box.exec() == QMessageBox::Yes;
}

void QtUserDialogs::ShowMessage(QWidget* parent, MessageKind kind, const QString& text,
                                const QString& caption) {
    QMessageBox box(IconOf(kind), CaptionOr(caption), DisplayText(text), QMessageBox::Ok, parent);
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
    bool ok = false;
    QString text =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

}  // namespace wt::ui
