#pragma once
// The arithmetic of the zoom view: fitting, zoom steps, windows and the
// world/pixel mappings. No Qt here, so it can be checked on its own.
#include "base/tolerances.h"
#include "geometry/canvas.h"

#include <optional>
#include <string>

namespace zeran {

// One view: scales in pixels per world unit (kept equal) and the world window
// seen by the client area when the scroll bars are centred.
struct TZoomView {
    double ScaleX = 0;
    double ScaleY = 0;
    double XMin = 0;
    double XMax = 0;
    double YMin = 0;
    double YMax = 0;
    double CentreX = 0;
    double CentreY = 0;
    friend bool operator==(const TZoomView&, const TZoomView&) = default;
};

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

struct WorldXY {
    double x = 0;
    double y = 0;
};

// Where the bitmaps and the scroll bars stand; all in pixels.
struct ViewPlacement {
    int offX = 0, offY = 0; // bitmap offset of the window's top-left corner
    int hPos = 0, vPos = 0; // scroll positions
    int hMax = 0, vMax = 0; // scroll maxima
};

// Zoom in stops at this scale, zoom out at the other.
inline constexpr double kMaxZoomScale = 100.0;
inline constexpr double kMinZoomScale = 0.1;

// Bitmaps are half as large again as the client area, for a margin all round.
PixelSize bitmap_size_for(PixelSize client);
ViewPlacement centred_placement(PixelSize client);

// Rebuilds the window around the view's centre for the client size.
void rebuild_window(TZoomView& v, PixelSize client);

// The view that shows the extents inside the client area less a border of
// `border` pixels (counted twice on each side).
TZoomView fit_view(PixelSize client, int border, double y_max, double y_min, double x_max,
                   double x_min);

// One zoom step: the scales are divided by f around the window's middle, the
// window's size in pixels being kept.
TZoomView zoom_step(const TZoomView& v, double f);

// The view that shows the world window (corners in any order) in the client.
TZoomView zoom_window(PixelSize client, double x1, double y1, double x2, double y2);

// The same world window size around a new centre.
TZoomView recentred(const TZoomView& v, double cx, double cy);

// A zoom step by f that keeps the world point `w` under the client pixel
// `px`, for the scroll bars centred afterwards (the wheel zooms this way).
TZoomView zoom_about(const TZoomView& v, PixelSize client, double f, WorldXY w, DevicePoint px);

// The window moved so that the picture follows the pointer by (dx, dy)
// pixels, right and down.
TZoomView panned(const TZoomView& v, int dx, int dy);

// After the client area changed size: scales follow the new size in
// proportion (the smaller of the two factors) and the window is rebuilt.
TZoomView resized(const TZoomView& v, PixelSize old_client, PixelSize new_client);

// Mappings; nullopt when a coordinate does not fit a pixel.
std::optional<DevicePoint> world_to_bitmap(const TZoomView& v, const ViewPlacement& p, double x,
                                           double y);
std::optional<DevicePoint> world_to_screen(const TZoomView& v, const ViewPlacement& p, double x,
                                           double y);
WorldXY screen_to_world(const TZoomView& v, const ViewPlacement& p, DevicePoint px);

// "1 : 1", "1.25 : 1", "1 : 1.25".
std::string zoom_ratio_text(const TZoomView& current, const TZoomView& fit, char separator);

// The pointer readout. The world holds the project's units, so an inch
// project shows its own numbers (4 decimals) rather than converting again.
std::string pointer_readout(WorldXY w, bool lathe, WorldXY datum, Units units, char separator);

} // namespace zeran
