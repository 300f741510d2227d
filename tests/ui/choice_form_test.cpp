// The before/after and paste questions: their captions, their questions as
// text, what each button and closing answer, and how the window's prompt
// reaches them.
#include "dialogs/before_after_form.h"
#include "dialogs/paste_form.h"
#include "dialogs/qt_prompt.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace zeran;

namespace {

// Acts on the modal dialog of type T once it is shown; records what it saw.
template <class T> void on_modal(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] {
        T* form = nullptr;
        QTRY_VERIFY((form = qobject_cast<T*>(QApplication::activeModalWidget())) != nullptr);
        act(form);
    });
}

const std::string kBeforeAfterText =
    "Do you wish to insert the selected point in the list before or after the first item.";
const std::string kPasteText =
    "Paste operation, do you wish to append the paste list to end of the current list, insert "
    "the paste list at the selected item of the current list or replace the current list with "
    "the paste list?";

} // namespace

class ChoiceFormTest : public QObject {
    Q_OBJECT
private slots:
    void before_after_asks_in_words_and_closing_means_after() {
        {
            TBeforeAfter f;
            QCOMPARE(f.windowTitle(), QString("Select Before or After"));
            QCOMPARE(f.Question(), QString::fromStdString(kBeforeAfterText));
            QVERIFY(f.findChild<QLabel*>("Question")->isVisibleTo(&f));
            QCOMPARE(f.AnswerCount(), 2);
            QCOMPARE(f.AnswerButton(0)->text(), QString("Before"));
            QVERIFY(f.AnswerButton(1)->isDefault());
            QVERIFY(!f.AnswerButton(2));
            on_modal<TBeforeAfter>([](TBeforeAfter* d) { d->AnswerButton(0)->click(); });
            QCOMPARE(f.Execute(), InsertPlace::Before);
        }
        TBeforeAfter f;
        on_modal<TBeforeAfter>([](TBeforeAfter* d) { d->reject(); });
        QCOMPARE(f.Execute(), InsertPlace::After);
    }

    void paste_answers_one_to_three_and_cancels_by_default() {
        const PasteResult expected[] = {PasteResult::Append, PasteResult::Insert,
                                        PasteResult::Replace, PasteResult::Cancel};
        for (int i = 0; i < 4; ++i) {
            TPasteForm f;
            on_modal<TPasteForm>([i](TPasteForm* d) { d->AnswerButton(i)->click(); });
            QCOMPARE(f.Execute(), expected[i]);
        }
        TPasteForm f;
        QCOMPARE(f.windowTitle(), QString("Paste Options"));
        QVERIFY(f.Question().startsWith(QString::fromStdString(kPasteText)));
        QVERIFY(f.Question().endsWith("Please select."));
        QVERIFY(f.AnswerButton(3)->isDefault());
        QCOMPARE(static_cast<int>(PasteResult::Replace), 3);
        // Return presses the default button; Escape closes: both cancel.
        on_modal<TPasteForm>([](TPasteForm* d) { QTest::keyClick(d, Qt::Key_Return); });
        QCOMPARE(f.Execute(), PasteResult::Cancel);
        on_modal<TPasteForm>([](TPasteForm* d) { QTest::keyClick(d, Qt::Key_Escape); });
        QCOMPARE(f.Execute(), PasteResult::Cancel);
    }

    void the_prompt_asks_the_cores_questions_in_these_dialogs() {
        QtPrompt prompt;
        on_modal<TBeforeAfter>([](TBeforeAfter* d) {
            QCOMPARE(d->Question(), QString::fromStdString(kBeforeAfterText));
            d->AnswerButton(0)->click();
        });
        QCOMPARE(prompt.choose(kBeforeAfterText, TBeforeAfter::Answers(), 1), 0);
        on_modal<TBeforeAfter>([](TBeforeAfter* d) { d->reject(); });
        QCOMPARE(prompt.choose(kBeforeAfterText, TBeforeAfter::Answers(), 1), 1);

        on_modal<TPasteForm>([](TPasteForm* d) { d->AnswerButton(2)->click(); });
        QCOMPARE(prompt.choose(kPasteText, TPasteForm::Answers(), 3), 2); // Replace
        on_modal<TPasteForm>([](TPasteForm* d) { d->reject(); });
        QCOMPARE(prompt.choose(kPasteText, TPasteForm::Answers(), 3), 3); // Cancel

        // Any other choice: the question as text, one button per option,
        // the preselected one the default, closing answers none.
        on_modal<TChoiceForm>([](TChoiceForm* d) {
            QCOMPARE(d->Question(), QString("Which one?"));
            QCOMPARE(d->AnswerCount(), 3);
            QVERIFY(d->AnswerButton(2)->isDefault());
            QVERIFY(!d->windowTitle().contains("Which one?"));
            d->AnswerButton(1)->click();
        });
        QCOMPARE(prompt.choose("Which one?", {"a", "b", "c"}, 2), 1);
        on_modal<TChoiceForm>([](TChoiceForm* d) { d->reject(); });
        QCOMPARE(prompt.choose("Which one?", {"a", "b"}, 0), -1);
        QCOMPARE(prompt.choose("Nothing to pick", {}, 0), -1);
    }
};

QTEST_MAIN(ChoiceFormTest)
#include "choice_form_test.moc"
