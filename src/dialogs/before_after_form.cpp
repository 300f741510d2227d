#include "dialogs/before_after_form.h"

namespace zeran {

QString TBeforeAfter::DefaultQuestion() {
    return tr("Do you wish to insert the selected point in the list before or after the first "
              "item.");
}

const std::vector<std::string>& TBeforeAfter::Answers() {
    static const std::vector<std::string> answers = {"Before", "After"};
    return answers;
}

TBeforeAfter::TBeforeAfter(QWidget* parent, const QString& question)
    : TChoiceForm(tr("Select Before or After"), question, {tr("Before"), tr("After")}, 1, 1,
                  parent) {}

InsertPlace TBeforeAfter::Execute() {
    return Choose() == 0 ? InsertPlace::Before : InsertPlace::After;
}

} // namespace zeran
