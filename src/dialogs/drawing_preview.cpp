#include "dialogs/drawing_preview.h"

#include "base/ini_document.h"
#include "base/progress.h"
#include "dxf/dxf_reader.h"
#include "geometry/dxf_object.h"
#include "project/scene.h"
#include "view/canvas_clearing.h"
#include "view/qt_canvas.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <exception>

namespace zeran {

namespace {

QString with_suffix(const QFileInfo& f, const QString& suffix) {
    return f.dir().filePath(f.completeBaseName() + suffix);
}

bool is_file(const QString& path) {
    const QFileInfo f(path);
    return f.exists() && f.isFile();
}

} // namespace

std::optional<QString> previewable_drawing(const QString& selected) {
    if (selected.isEmpty() || !is_file(selected)) return std::nullopt;
    const QFileInfo f(selected);
    if (f.suffix().toUpper() != QStringLiteral("TCF")) return selected;
    QString candidate;
    if (const auto ini = IniDocument::load(selected.toStdString())) {
        candidate = QString::fromStdString(ini->read_string("DXF", "TDXFileName", ""));
        // A relative name is taken beside the project.
        if (!candidate.isEmpty() && QFileInfo(candidate).isRelative())
            candidate = f.dir().filePath(candidate);
    }
    if (candidate.isEmpty() || !is_file(candidate)) candidate = with_suffix(f, ".TDX");
    if (!is_file(candidate)) candidate = with_suffix(f, ".tdx");
    if (!is_file(candidate)) candidate = with_suffix(f, ".DXF");
    if (!is_file(candidate)) candidate = with_suffix(f, ".dxf");
    if (!is_file(candidate)) return std::nullopt;
    return candidate;
}

PreviewDrawing read_preview_drawing(const QString& drawing_file, Prompt& prompt) {
    try {
        NullProgress progress;
        DXF_Reader reader(drawing_file.toStdString(), prompt, progress);
        std::vector<std::string> skipped;
        reader.set_skipped_list(&skipped);
        reader.read_file();
        const Point3D max = reader.header_max(), min = reader.header_min();
        const double dx = max.x - min.x, dy = max.y - min.y;
        if (!std::isfinite(dx) || !std::isfinite(dy) || dx < 0 || dy < 0) return {};
        return std::make_shared<const DXF_Object>(
            DXF_Object::name_from_path(drawing_file.toStdString()), reader.take_layers(), max, min);
    } catch (const std::exception&) {
        return {};
    }
}

namespace {

// The drawing on a white picture of `size`: drawing point `min` (left) and
// `max` (top) land at `offset`, `scale` pixels a unit.
QImage draw_picture(const DXF_Object& drawing, QSize size, double scale, QPointF offset) {
    QImage picture(size, QImage::Format_RGB32);
    if (picture.isNull()) return {};
    picture.fill(Qt::white);
    QtCanvas canvas(&picture);
    ClearCanvas(canvas, 0xFFFFFF);
    const Point3D min = drawing.min_extent(), max = drawing.max_extent();
    // Matrices are ignored: insertions and extruded entities show in their
    // own coordinates.
    auto map = [&](const Point3D& p, const Matrix4*) {
        const double x = std::clamp(offset.x() + (p.x - min.x) * scale, -1e6, 1e6);
        const double y = std::clamp(offset.y() + (max.y - p.y) * scale, -1e6, 1e6);
        return DevicePoint{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
    };
    draw_drawing(canvas, drawing, map);
    canvas.finish();
    return picture;
}

} // namespace

QImage make_preview_picture(const PreviewDrawing& drawing) {
    if (!drawing) return {};
    const Point3D max = drawing->max_extent(), min = drawing->min_extent();
    const double dx = max.x - min.x, dy = max.y - min.y;
    // One pixel per unit, unless that would make a huge picture.
    const double longest = std::max(dx, dy);
    const double scale = longest + 10 > kMaxPreviewSide ? (kMaxPreviewSide - 10) / longest : 1.0;
    const int w = static_cast<int>(std::lround(dx * scale)) + 10;
    const int h = static_cast<int>(std::lround(dy * scale)) + 10;
    return draw_picture(*drawing, {w, h}, scale, {0, 0});
}

QImage make_preview_picture(const QString& drawing_file, Prompt& prompt) {
    return make_preview_picture(read_preview_drawing(drawing_file, prompt));
}

QImage make_fitted_picture(const PreviewDrawing& drawing, QSize box) {
    constexpr int kMargin = 5;
    if (!drawing || box.width() <= 2 * kMargin || box.height() <= 2 * kMargin) return {};
    const Point3D max = drawing->max_extent(), min = drawing->min_extent();
    const double dx = max.x - min.x, dy = max.y - min.y;
    const double room_x = box.width() - 2 * kMargin, room_y = box.height() - 2 * kMargin;
    // A drawing without width or height (one line along an axis) is fitted
    // by its other side; a single point is drawn at one pixel a unit.
    double scale = 1.0;
    if (dx > 0 && dy > 0)
        scale = std::min(room_x / dx, room_y / dy);
    else if (dx > 0)
        scale = room_x / dx;
    else if (dy > 0)
        scale = room_y / dy;
    if (!std::isfinite(scale) || scale <= 0) return {};
    const QPointF offset((box.width() - dx * scale) / 2, (box.height() - dy * scale) / 2);
    return draw_picture(*drawing, box, scale, offset);
}

QRect preview_target(QSize picture, QSize box) {
    const int pw = picture.width(), ph = picture.height();
    const int bw = box.width(), bh = box.height();
    if (pw <= 0 || ph <= 0 || bw <= 0 || bh <= 0) return {};
    if (pw <= bw && ph <= bh) return QRect((bw - pw) / 2, (bh - ph) / 2, pw, ph);
    auto scaled = [](long long a, long long b, long long c) {
        return static_cast<int>((a * b + c / 2) / c);
    };
    int w = 0, h = 0;
    if (pw > ph) {
        w = bw;
        h = scaled(ph, bw, pw);
    } else {
        h = bh;
        w = scaled(pw, bh, ph);
    }
    // Scaling by one side can leave the other too large for the box.
    if (h > bh) {
        w = scaled(w, bh, h);
        h = bh;
    }
    if (w > bw) {
        h = scaled(h, bw, w);
        w = bw;
    }
    return QRect(0, 0, std::max(1, w), std::max(1, h));
}

} // namespace zeran
