#pragma once
// The window-placement store (ZERAN.FPS): a window's position, size and
// state under its name, read when it is made and written when it goes.
#include <QRect>
#include <QString>

class QWidget;

namespace zeran {

struct Placement {
    QRect normal;  // position and size when neither maximised nor minimised
    int state = 0; // 0 normal, 1 minimised, 2 maximised
};

class TFormPosSize {
public:
    // `file` empty: nothing is read or written.
    TFormPosSize(QString file, QString section)
        : file_(std::move(file)), section_(std::move(section)) {}

    // The stored placement over `current`; a position beyond the screen
    // (`screen`) becomes 0, and a minimised window comes back normal.
    Placement read(const QRect& current, const QSize& screen) const;
    bool write(const Placement& p) const;

    // Applies the stored placement to a window, and stores the window's.
    void load(QWidget& window) const;
    void save(const QWidget& window) const;

private:
    QString file_;
    QString section_;
};

} // namespace zeran
