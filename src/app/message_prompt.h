#pragma once
// The core's questions answered with Qt message boxes.
#include "geometry/prompt.h"

#include <QPointer>
#include <QWidget>

namespace zeran {

class MessagePrompt final : public Prompt {
public:
    explicit MessagePrompt(QWidget* parent = nullptr) : parent_(parent) {}
    Answer ask(MessageKind kind, const std::string& text,
               const std::vector<Answer>& buttons) override;
    void tell(MessageKind kind, const std::string& text) override;
    int choose(const std::string& title, const std::vector<std::string>& options,
               int preselected) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace zeran
