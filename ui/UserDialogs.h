#pragma once
// Every question, message, folder chooser and input box of the program goes through this one
// interface, so that tests can answer them without a person at the screen.
//
// Texts are the program's own: a carriage return ("\r") breaks a line.
#include <QString>

#include <optional>

class QWidget;

namespace wt::ui {

enum class MessageKind { Information, Warning, Error, Confirmation };

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A question with Yes and No; true only when the user answers Yes.
    virtual bool AskYesNo(QWidget* parent, MessageKind kind, const QString& text,
                          const QString& caption = {}) = 0;
    // A message with an OK button.
    virtual void ShowMessage(QWidget* parent, MessageKind kind, const QString& text,
                             const QString& caption = {}) = 0;
    // A folder chooser; nullopt when the user cancels. The result has no trailing '/'
    // unless it is the root folder.
    virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& title,
                                                const QString& label) = 0;
    // A one-line text box; nullopt when the user cancels.
    virtual std::optional<QString> InputText(QWidget* parent, const QString& caption,
                                             const QString& prompt, const QString& initial) = 0;
    // A file to open; nullopt when the user cancels. filter as QFileDialog takes it.
    virtual std::optional<QString> ChooseFile(QWidget*, const QString& /*title*/,
                                              const QString& /*filter*/) {
        return std::nullopt;
    }
};

// The real boxes: QMessageBox, QFileDialog and QInputDialog.
class QtUserDialogs : public UserDialogs {
public:
    bool AskYesNo(QWidget* parent, MessageKind kind, const QString& text,
                  const QString& caption = {}) override;
    void ShowMessage(QWidget* parent, MessageKind kind, const QString& text,
                     const QString& caption = {}) override;
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& title,
                                        const QString& label) override;
    std::optional<QString> InputText(QWidget* parent, const QString& caption,
                                     const QString& prompt, const QString& initial) override;
    std::optional<QString> ChooseFile(QWidget* parent, const QString& title,
                                      const QString& filter) override;
};

// The real boxes, shared by whatever was not handed others (tests hand in their own).
UserDialogs& QtDialogs();

// The program's texts break lines with "\r"; Qt's boxes want "\n".
QString DisplayText(const QString& text);

}  // namespace wt::ui
