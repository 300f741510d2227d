#pragma once
// The About box: product title, version, address and web link.
#include <QDialog>

class QLabel;

namespace zeran {

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);
    void SetVersionText(const QString& text);
    QString VersionText() const;

private:
    QLabel* version_ = nullptr;
};

} // namespace zeran
