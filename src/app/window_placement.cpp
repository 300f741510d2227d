#include "app/window_placement.h"

#include "base/ini_document.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zeran {

Placement TFormPosSize::read(const QRect& current, const QSize& screen) const {
    Placement p{current, 0};
    if (file_.isEmpty()) return p;
    const auto doc = IniDocument::load(file_.toStdString());
    if (!doc) return p;
    const std::string s = section_.toStdString();
    int top = static_cast<int>(doc->read_int(s, "Top", current.top()));
    int left = static_cast<int>(doc->read_int(s, "Left", current.left()));
    if (top > screen.height()) top = 0;
    if (left > screen.width()) left = 0;
    const int width = static_cast<int>(doc->read_int(s, "Width", current.width()));
    const int height = static_cast<int>(doc->read_int(s, "Height", current.height()));
    p.normal = QRect(left, top, width > 0 ? width : current.width(),
                     height > 0 ? height : current.height());
    p.state = static_cast<int>(doc->read_int(s, "WindowState", 0));
    if (p.state != 2) p.state = 0;
    return p;
}

bool TFormPosSize::write(const Placement& p) const {
    if (file_.isEmpty()) return false;
    const QFileInfo info(file_);
    if (info.exists() && !info.isWritable()) return false;
    IniDocument doc = IniDocument::load(file_.toStdString()).value_or(IniDocument());
    const std::string s = section_.toStdString();
    doc.write_int(s, "Top", p.normal.top());
    doc.write_int(s, "Left", p.normal.left());
    doc.write_int(s, "WindowState", p.state);
    doc.write_int(s, "Width", p.normal.width());
    doc.write_int(s, "Height", p.normal.height());
    return doc.save(file_.toStdString());
}

void TFormPosSize::load(QWidget& window) const {
    QSize screen(1 << 20, 1 << 20);
    if (const QScreen* sc = QGuiApplication::primaryScreen()) screen = sc->availableSize();
    const Placement p = read(window.geometry(), screen);
    window.resize(p.normal.size());
    window.move(p.normal.topLeft());
    if (p.state == 2) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void TFormPosSize::save(const QWidget& window) const {
    Placement p;
    // A maximised window keeps its normal rectangle.
    p.normal = QRect(window.pos(), window.size());
    if (window.isMaximized() && window.normalGeometry().isValid()) {
        p.state = 2;
        p.normal = window.normalGeometry();
    }
    write(p);
}

} // namespace zeran
