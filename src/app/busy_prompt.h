#pragma once
// The window's prompt while the busy box may be up: a question is never asked
// behind the box, which stands aside for it and comes back afterwards.
#include "base/prompt.h"
#include "view/busy_box.h"

#include <QLabel>

namespace zeran {

// The box stands aside while a dialog is up and comes back after it.
class BusyAside {
public:
    explicit BusyAside(TThinking_box& box) : box_(box), was_(box.shown()) { box_.HideBusy(); }
    ~BusyAside() {
        if (was_) box_.ShowBusy(box_.control(), box_.message()->text());
    }
    BusyAside(const BusyAside&) = delete;
    BusyAside& operator=(const BusyAside&) = delete;

private:
    TThinking_box& box_;
    bool was_;
};

class BusyAwarePrompt final : public Prompt {
public:
    BusyAwarePrompt(Prompt& inner, TThinking_box& box) : inner_(inner), box_(box) {}

    Answer ask(MessageKind kind, const std::string& text,
               const std::vector<Answer>& buttons) override {
        const BusyAside aside(box_);
        return inner_.ask(kind, text, buttons);
    }
    Answer ask_titled(const std::string& caption, MessageKind kind, const std::string& text,
                      const std::vector<Answer>& buttons) override {
        const BusyAside aside(box_);
        return inner_.ask_titled(caption, kind, text, buttons);
    }
    void tell(MessageKind kind, const std::string& text) override {
        const BusyAside aside(box_);
        inner_.tell(kind, text);
    }
    int choose(const std::string& title, const std::vector<std::string>& options,
               int preselected) override {
        const BusyAside aside(box_);
        return inner_.choose(title, options, preselected);
    }

private:
    Prompt& inner_;
    TThinking_box& box_;
};

// Shows the box over `control` for the life of the scope.
class BusyScope {
public:
    BusyScope(TThinking_box& box, QWidget* control, const QString& message) : box_(box) {
        box_.ShowBusy(control, message);
    }
    ~BusyScope() { box_.HideBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TThinking_box& box_;
};

} // namespace zeran
