#pragma once
// A question in words with one button per answer. The before/after and the
// paste questions are this dialog with their own captions and answers.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QPushButton;

namespace zeran {

class TChoiceForm : public QDialog {
    Q_OBJECT
public:
    // `default_answer` is the button Return presses; closing the dialog (or
    // Escape) answers `closing_answer`, which may be -1 for "none".
    TChoiceForm(const QString& caption, const QString& question, const QStringList& answers,
                int default_answer, int closing_answer, QWidget* parent = nullptr);

    // Shows the dialog modally; the index of the chosen answer.
    int Choose();

    QString Question() const;
    int AnswerCount() const { return static_cast<int>(buttons_.size()); }
    QPushButton* AnswerButton(int index) const;

private:
    QLabel* question_ = nullptr;
    std::vector<QPushButton*> buttons_;
    int closing_ = -1;
    int chosen_ = -1;
};

} // namespace zeran
