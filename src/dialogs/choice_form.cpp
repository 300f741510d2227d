#include "dialogs/choice_form.h"

#include "dialogs/title_width.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zeran {

TChoiceForm::TChoiceForm(const QString& caption, const QString& question,
                         const QStringList& answers, int default_answer, int closing_answer,
                         QWidget* parent)
    : QDialog(parent), closing_(closing_answer) {
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);
    question_ = new QLabel(question, this);
    question_->setObjectName(QStringLiteral("Question"));
    question_->setWordWrap(true);
    question_->setMinimumWidth(320);
    row->addWidget(icon);
    row->addWidget(question_, 1);
    layout->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < answers.size(); ++i) {
        auto* b = new QPushButton(answers[i], this);
        b->setObjectName(QStringLiteral("Answer%1").arg(i));
        b->setAutoDefault(false);
        b->setDefault(i == default_answer);
        connect(b, &QPushButton::clicked, this, [this, i] {
            chosen_ = i;
            accept();
        });
        buttons->addWidget(b);
        buttons_.push_back(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    keep_title_whole(this);
}

int TChoiceForm::Choose() {
    chosen_ = closing_;
    exec();
    return chosen_;
}

QString TChoiceForm::Question() const {
    return question_->text();
}

QPushButton* TChoiceForm::AnswerButton(int index) const {
    if (index < 0 || index >= AnswerCount()) return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

} // namespace zeran
