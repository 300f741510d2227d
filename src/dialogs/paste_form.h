#pragma once
// Asked when points are pasted into a list that is not empty: append them,
// insert them at the selected item, replace the list, or do nothing.
#include "dialogs/choice_form.h"

#include <string>
#include <vector>

namespace zeran {

// The numbers are what the dialog has always returned.
enum class PasteResult { Cancel = 0, Append = 1, Insert = 2, Replace = 3 };

class TPasteForm : public TChoiceForm {
    Q_OBJECT
public:
    static QString DefaultQuestion();
    // The answers as the core offers them, in button order.
    static const std::vector<std::string>& Answers();

    explicit TPasteForm(QWidget* parent = nullptr, const QString& question = DefaultQuestion());

    // Cancel is the default button; closing the dialog cancels too.
    PasteResult Execute();
};

} // namespace zeran
