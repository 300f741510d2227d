#include "view/zoom_view.h"

#include "base/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zeran {

PixelSize bitmap_size_for(PixelSize client) {
    return {(3 * client.width) / 2, (3 * client.height) / 2};
}

ViewPlacement centred_placement(PixelSize client) {
    const PixelSize bmp = bitmap_size_for(client);
    ViewPlacement p;
    p.offX = (bmp.width - client.width) / 2;
    p.offY = (bmp.height - client.height) / 2;
    p.hMax = 2 * p.offX;
    p.vMax = 2 * p.offY;
    p.hPos = p.offX;
    p.vPos = p.offY;
    return p;
}

void rebuild_window(TZoomView& v, PixelSize client) {
    const double half_w = client.width / 2.0, half_h = client.height / 2.0;
    v.XMin = v.CentreX - half_w / v.ScaleX;
    v.XMax = v.CentreX + half_w / v.ScaleX;
    v.YMin = v.CentreY - half_h / v.ScaleY;
    v.YMax = v.CentreY + half_h / v.ScaleY;
}

namespace {

// Scale that shows the extents within s pixels; 1 for a zero extent.
void equal_scales(TZoomView& v, double s, double dx, double dy) {
    v.ScaleX = dx != 0 ? s / std::fabs(dx) : 1.0;
    v.ScaleY = dy != 0 ? s / std::fabs(dy) : 1.0;
    // A client smaller than its border would give a negative or zero scale.
    if (!(v.ScaleX > 0)) v.ScaleX = 1.0;
    if (!(v.ScaleY > 0)) v.ScaleY = 1.0;
    v.ScaleX = v.ScaleY = std::min(v.ScaleX, v.ScaleY);
}

std::optional<int> to_pixel(double v) {
    const double r = std::round(v);
    if (!std::isfinite(r) || r > std::numeric_limits<int>::max() / 2 ||
        r < std::numeric_limits<int>::min() / 2)
        return std::nullopt;
    return static_cast<int>(r);
}

} // namespace

TZoomView fit_view(PixelSize client, int border, double y_max, double y_min, double x_max,
                   double x_min) {
    const double w = client.width - 4.0 * border;
    const double h = client.height - 4.0 * border;
    TZoomView v;
    equal_scales(v, w < h ? w : h, x_max - x_min, y_max - y_min);
    v.CentreX = (x_max + x_min) / 2;
    v.CentreY = (y_max + y_min) / 2;
    rebuild_window(v, client);
    return v;
}

TZoomView zoom_step(const TZoomView& v, double f) {
    TZoomView n = v;
    n.CentreX = (v.XMin + v.XMax) / 2;
    n.CentreY = (v.YMin + v.YMax) / 2;
    const double pix_w = (v.XMax - v.XMin) * v.ScaleX;
    const double pix_h = (v.YMax - v.YMin) * v.ScaleY;
    n.ScaleX = v.ScaleX / f;
    n.ScaleY = v.ScaleY / f;
    rebuild_window(n, {static_cast<int>(std::lround(pix_w)), static_cast<int>(std::lround(pix_h))});
    return n;
}

TZoomView zoom_window(PixelSize client, double x1, double y1, double x2, double y2) {
    TZoomView v;
    equal_scales(v, std::min(client.width, client.height), x2 - x1, y2 - y1);
    v.CentreX = (x1 + x2) / 2;
    v.CentreY = (y1 + y2) / 2;
    rebuild_window(v, client);
    return v;
}

TZoomView recentred(const TZoomView& v, double cx, double cy) {
    TZoomView n = v;
    const double hw = (v.XMax - v.XMin) / 2, hh = (v.YMax - v.YMin) / 2;
    n.CentreX = cx;
    n.CentreY = cy;
    n.XMin = cx - hw;
    n.XMax = cx + hw;
    n.YMin = cy - hh;
    n.YMax = cy + hh;
    return n;
}

TZoomView zoom_about(const TZoomView& v, PixelSize client, double f, WorldXY w, DevicePoint px) {
    TZoomView n = v;
    n.ScaleX = v.ScaleX / f;
    n.ScaleY = v.ScaleY / f;
    n.CentreX = w.x + (client.width / 2.0 - px.x) / n.ScaleX;
    n.CentreY = w.y - (client.height / 2.0 - px.y) / n.ScaleY;
    rebuild_window(n, client);
    return n;
}

TZoomView panned(const TZoomView& v, int dx, int dy) {
    return recentred(v, v.CentreX - dx / v.ScaleX, v.CentreY + dy / v.ScaleY);
}

TZoomView resized(const TZoomView& v, PixelSize old_client, PixelSize new_client) {
    TZoomView n = v;
    if (old_client.width > 0 && old_client.height > 0 && new_client.width > 0 &&
        new_client.height > 0) {
        n.ScaleX = v.ScaleX * new_client.width / old_client.width;
        n.ScaleY = v.ScaleY * new_client.height / old_client.height;
        n.ScaleX = n.ScaleY = std::min(n.ScaleX, n.ScaleY);
    }
    rebuild_window(n, new_client);
    return n;
}

std::optional<DevicePoint> world_to_bitmap(const TZoomView& v, const ViewPlacement& p, double x,
                                           double y) {
    const auto px = to_pixel((x - v.XMin) * v.ScaleX);
    const auto py = to_pixel((v.YMax - y) * v.ScaleY);
    if (!px || !py) return std::nullopt;
    return DevicePoint{*px + p.offX, *py + p.offY};
}

std::optional<DevicePoint> world_to_screen(const TZoomView& v, const ViewPlacement& p, double x,
                                           double y) {
    const auto px = to_pixel((x - v.XMin) * v.ScaleX);
    const auto py = to_pixel((v.YMax - y) * v.ScaleY);
    if (!px || !py) return std::nullopt;
    return DevicePoint{*px + p.hMax / 2 - p.hPos, *py + p.vMax / 2 - p.vPos};
}

WorldXY screen_to_world(const TZoomView& v, const ViewPlacement& p, DevicePoint px) {
    WorldXY w;
    w.x = v.XMin + (px.x - (p.hMax / 2 - p.hPos)) / v.ScaleX;
    w.y = v.YMax - (px.y + p.vPos - p.vMax / 2) / v.ScaleY;
    return w;
}

std::string zoom_ratio_text(const TZoomView& current, const TZoomView& fit, char separator) {
    if (fit.ScaleX == 0 || current.ScaleX == 0) return "1 : 1";
    const double r = current.ScaleX / fit.ScaleX;
    if (r < 0.999) return "1 : " + general_text(fit.ScaleX / current.ScaleX, separator, 3);
    return general_text(r, separator, 3) + " : 1";
}

std::string pointer_readout(WorldXY w, bool lathe, WorldXY datum, Units units, char separator) {
    const int decimals = units == Units::Inch ? 4 : 3;
    auto num = [&](double v) { return fixed_text(v, 8, decimals, separator); };
    if (lathe && !is_not_set(datum.x) && !is_not_set(datum.y))
        return "X= " + num(w.y - datum.y) + "   Z= " + num(w.x - datum.x);
    return "X= " + num(w.x) + "   Y= " + num(w.y);
}

} // namespace zeran
