#pragma once
// Asked when an element is added while the first item of a profile's list
// has the focus: does it go before that item or after it?
#include "dialogs/choice_form.h"

#include <string>
#include <vector>

namespace zeran {

enum class InsertPlace { Before, After };

class TBeforeAfter : public TChoiceForm {
    Q_OBJECT
public:
    // The question the core asks, in its own words.
    static QString DefaultQuestion();
    // The answers as the core offers them, in button order.
    static const std::vector<std::string>& Answers();

    explicit TBeforeAfter(QWidget* parent = nullptr, const QString& question = DefaultQuestion());

    // Closing the dialog counts as After.
    InsertPlace Execute();
};

} // namespace zeran
