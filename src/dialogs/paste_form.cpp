#include "dialogs/paste_form.h"

namespace zeran {

namespace {

QString with_request(const QString& question) {
    return question + QStringLiteral("\n\n") + TPasteForm::tr("Please select.");
}

} // namespace

QString TPasteForm::DefaultQuestion() {
    return tr("Paste operation, do you wish to append the paste list to end of the current list, "
              "insert the paste list at the selected item of the current list or replace the "
              "current list with the paste list?");
}

const std::vector<std::string>& TPasteForm::Answers() {
    static const std::vector<std::string> answers = {"Append", "Insert", "Replace", "Cancel"};
    return answers;
}

TPasteForm::TPasteForm(QWidget* parent, const QString& question)
    : TChoiceForm(tr("Paste Options"), with_request(question),
                  {tr("Append"), tr("Insert"), tr("Replace"), tr("Cancel")}, 3, 3, parent) {}

PasteResult TPasteForm::Execute() {
    switch (Choose()) {
    case 0:
        return PasteResult::Append;
    case 1:
        return PasteResult::Insert;
    case 2:
        return PasteResult::Replace;
    default:
        return PasteResult::Cancel;
    }
}

} // namespace zeran
