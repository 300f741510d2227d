#pragma once
// The core's questions answered with message boxes over the main window.
#include "base/prompt.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace zeran {

class QtPrompt final : public Prompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr, QString title = QString());
    void set_parent(QWidget* parent) { parent_ = parent; }

    Answer ask(MessageKind kind, const std::string& text,
               const std::vector<Answer>& buttons) override;
    Answer ask_titled(const std::string& caption, MessageKind kind, const std::string& text,
                      const std::vector<Answer>& buttons) override;
    void tell(MessageKind kind, const std::string& text) override;
    // The question as text with one button per option; the before/after
    // and paste questions in their own dialogs.
    int choose(const std::string& question, const std::vector<std::string>& options,
               int preselected) override;

private:
    Answer ask_in(const QString& caption, MessageKind kind, const std::string& text,
                  const std::vector<Answer>& buttons);
    QPointer<QWidget> parent_;
    QString title_;
};

} // namespace zeran
