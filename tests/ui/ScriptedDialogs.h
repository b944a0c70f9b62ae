#pragma once
// Answers the program's questions, messages and folder choosers in tests, and records what was
// shown. Answers are taken in order; with none queued a question gets No, a chooser and an
// input box are cancelled.
#include "UserDialogs.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace wt::test {

struct ShownDialog {
    enum class Type { Question, Message, Folder, Input } type;
    ui::MessageKind kind = ui::MessageKind::Information;
    QString text;     // message text or prompt, exactly as the program wrote it
    QString caption;
};

class ScriptedDialogs : public ui::UserDialogs {
public:
    void AnswerYes() { answers_.push_back(true); }
    void AnswerNo() { answers_.push_back(false); }
    // A null QString (or nullopt) cancels.
    void ChooseFolderNext(std::optional<QString> folder) { folders_.push_back(folder.value_or(QString())); }
    void InputNext(std::optional<QString> text) { inputs_.push_back(text.value_or(QString())); }

    bool AskYesNo(QWidget*, ui::MessageKind kind, const QString& text,
                  const QString& caption) override {
        shown.push_back({ShownDialog::Type::Question, kind, text, caption});
        if (answers_.empty()) return false;
        bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void ShowMessage(QWidget*, ui::MessageKind kind, const QString& text,
                     const QString& caption) override {
        shown.push_back({ShownDialog::Type::Message, kind, text, caption});
    }
    std::optional<QString> ChooseFolder(QWidget*, const QString& title,
                                        const QString& label) override {
        shown.push_back({ShownDialog::Type::Folder, ui::MessageKind::Information, label, title});
        return Take(folders_);
    }
    std::optional<QString> InputText(QWidget*, const QString& caption, const QString& prompt,
                                     const QString&) override {
        shown.push_back({ShownDialog::Type::Input, ui::MessageKind::Information, prompt, caption});
        return Take(inputs_);
    }

    // The texts of every message box shown, in order.
    QStringList Messages() const {
        QStringList out;
        for (const auto& d : shown)
            if (d.type == ShownDialog::Type::Message) out << d.text;
        return out;
    }

    std::vector<ShownDialog> shown;

private:
    static std::optional<QString> Take(std::deque<QString>& queue) {
        if (queue.empty()) return std::nullopt;
        QString value = queue.front();
        queue.pop_front();
        if (value.isNull()) return std::nullopt;
        return value;
    }

    std::deque<bool> answers_;
    std::deque<QString> folders_;
    std::deque<QString> inputs_;
};

}  // namespace wt::test
