#pragma once
// The header dialog: units, author and date of the program's header.
#include "base/tolerances.h"

#include <QDate>
#include <QDialog>
#include <QString>

class QDateEdit;
class QLineEdit;
class QRadioButton;

namespace zeran {

// The account's full name (the first field of the passwd comment), else the
// login name; empty when neither can be found.
QString default_author();

class TFormHeader : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 50;

    explicit TFormHeader(QWidget* parent = nullptr);

    // The edit's text, or the default author when it is empty.
    QString Author() const;
    // Shows the author, or the default author for an empty one.
    void SetAuthor(const QString& author);
    QDate Date() const;
    void SetDate(const QDate& date);
    Units units() const;
    void SetUnits(Units u);
    bool Execute();

    QLineEdit* author_edit() const { return author_; }

private:
    QRadioButton* metric_ = nullptr;
    QRadioButton* inch_ = nullptr;
    QLineEdit* author_ = nullptr;
    QDateEdit* date_ = nullptr;
};

} // namespace zeran
