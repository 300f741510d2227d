#pragma once
// The zoomable, scrollable view of the drawing. It knows nothing of what it
// shows: when it needs a picture it calls OnNeedReDraw, and the owner draws
// into DrawCanvas and MarkCanvas through the mappings the view supplies.
#include "base/tolerances.h"
#include "geometry/matrix4.h"
#include "geometry/point3d.h"
#include "view/qt_canvas.h"
#include "view/view_mouse.h"
#include "view/zoom_view.h"

#include <QCursor>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>

class QKeyEvent;
class QLabel;
class QMouseEvent;
class QResizeEvent;
class QScrollBar;
class QToolButton;

namespace zeran {

enum class TDrawRect { drNone, drZoom, drSelect };

// The four zoom buttons' hint texts; setting one hands them to the view again.
class TZoomHints {
public:
    TZoomHints();
    const QString& zhZoomIn() const { return texts_[0]; }
    const QString& zhZoomOut() const { return texts_[1]; }
    const QString& zhZoomLast() const { return texts_[2]; }
    const QString& zhZoomReset() const { return texts_[3]; }
    void set_zhZoomIn(const QString& s) { set(0, s); }
    void set_zhZoomOut(const QString& s) { set(1, s); }
    void set_zhZoomLast(const QString& s) { set(2, s); }
    void set_zhZoomReset(const QString& s) { set(3, s); }
    std::function<void()> changed;

private:
    void set(int i, const QString& s);
    std::array<QString, 4> texts_;
};

struct WorldRect {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class ZoomPaintBox;
class Zoom_panel;

// The view's mappings as callables for point_mapper: keep one alive while
// entities draw through it.
struct BitmapMapper {
    Zoom_panel* view;
    DevicePoint operator()(const Point3D& p, const Matrix4* m) const;
};
struct ScreenMapper {
    Zoom_panel* view;
    DevicePoint operator()(const Point3D& p, const Matrix4* m) const;
};

class Zoom_panel : public QWidget {
    Q_OBJECT
public:
    explicit Zoom_panel(QWidget* parent = nullptr);
    ~Zoom_panel() override;

    // The owner's handlers. Mouse positions are paint-area pixels.
    std::function<void()> OnNeedReDraw;
    std::function<void(const ViewMouse&)> OnMouseDown;
    std::function<void(const ViewMouse&)> OnMouseMove;
    std::function<void(const ViewMouse&)> OnMouseUp;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnPaint;
    std::function<void(int key, const ShiftState&)> OnKeyDown;
    std::function<void(int key, const ShiftState&)> OnKeyUp;

    double ZoomFactor() const { return zoom_factor_; }
    void setZoomFactor(double f) { zoom_factor_ = f > 0 ? f : 1.25; }
    TDrawRect ShowDrawRect() const { return draw_rect_; }
    void setShowDrawRect(TDrawRect d) { draw_rect_ = d; }
    // The pointer's shape over the picture, where the owner's tools work. A
    // pan's hand stays until the pan ends and then gives way to it.
    void setPictureCursor(const QCursor& c);
    QCursor PictureCursor() const;
    bool Scrolling() const { return false; }
    bool ZoomEnabled() const { return zoom_enabled_; }
    void setZoomEnabled(bool on);
    TZoomHints& ZoomHints() { return hints_; }
    int ZoomHelpContext() const { return zoom_help_context_; }
    void setZoomHelpContext(int c) { zoom_help_context_ = c; }
    int HelpContext() const { return help_context_; }
    void setHelpContext(int c) { help_context_ = c; }
    Units units() const { return units_; }
    void setUnits(Units u);
    // The colour the view fills itself with when it has nothing to show.
    void setColour(Colour c);
    Colour colour() const { return colour_; }

    int BmpWidth() const { return drawing_.width(); }
    int BmpHeight() const { return drawing_.height(); }
    const QImage& Graphic() const { return drawing_; }
    double OrgScale() const { return fit_.ScaleX; }
    // The surface on screen, for marks drawn straight onto what the user sees
    // (hover highlighting); ShowDrawing wipes them.
    QtCanvas& ScreenCanvas() { return screen_canvas_; }
    QtCanvas& DrawCanvas() { return draw_canvas_; }
    QtCanvas& MarkCanvas() { return mark_canvas_; }

    Point2D Datum{kNotSet, kNotSet};

    const TZoomView& current_view() const { return current_; }
    const TZoomView& fit_view() const { return fit_; }
    const TZoomView& last_view() const { return last_; }
    double current_scale() const { return current_.ScaleX; }
    const WorldRect& selection_rect() const { return selection_; }
    bool active() const { return active_; }
    PixelSize client_size() const;
    ViewPlacement placement() const;

    void FitExtents(int border, double y_max, double y_min, double x_max, double x_min);
    void SetActive(bool on);
    void SetLatheReadout(bool on);

    // When a point cannot be mapped the view goes back to the last view after
    // the drawing in progress, and the point is clamped far off the bitmap.
    DevicePoint WorldToBitmap(const Point3D& p, const Matrix4* m = nullptr);
    DevicePoint WorldToScreen(const Point3D& p, const Matrix4* m = nullptr);
    Point2D ScreenToWorld(DevicePoint px) const;

    void Repaint();
    void Compose();
    void ShowDrawing();
    // Brings what was drawn on the screen canvas to the screen.
    void ShowScreen();

    // The button commands, also for the owner's keys and menus.
    void ZoomIn();
    void ZoomOut();
    void ZoomLast();
    void ZoomReset();
    // Zoom to the window between two paint-area pixels (the rubber band).
    void ZoomToPixels(DevicePoint a, DevicePoint b);
    // Centre the view on a paint-area pixel (the double-click).
    void CentreOn(DevicePoint px);
    // Zoom steps about a paint-area pixel, which keeps showing the same world
    // point: in for steps above 0 (the wheel turned away from the user), out
    // below. Stops where the zoom buttons would.
    void ZoomAt(DevicePoint px, int steps);
    // Moves the picture by (dx, dy) pixels with the pointer (the middle
    // button, or the left one with Space held, dragging).
    void PanBy(int dx, int dy);
    bool panning() const { return panning_; }

    QString status_text(int panel) const;
    bool zoom_in_enabled() const;
    bool zoom_out_enabled() const;
    bool zoom_last_enabled() const;
    bool zoom_reset_enabled() const;
    // The composed picture (drawing AND marks) the view copies to screen.
    const QImage& composite() const { return composite_; }
    // What the user sees in the paint area.
    const QImage& screen_image() const { return screen_; }

    // The Qt input, translated in one place.
    static ViewMouse translate(const QMouseEvent& e);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    friend class ZoomPaintBox;
    void layout_children();
    void size_bitmaps();
    void reset_scroll_bars();
    void update_buttons();
    void refresh_ratio();
    void refresh_readout();
    void zoom_by(double f);
    void after_button();
    void settle_resize();
    void repeat_tick();
    void start_repeat(int direction);
    void stop_repeat();
    void scrolled();
    void fill_inactive();
    void xor_band(DevicePoint a, DevicePoint b);
    void finish_canvases();
    void restore_last_if_failed();

    void box_press(const ViewMouse& m);
    void box_move(const ViewMouse& m);
    void box_release(const ViewMouse& m);
    void box_double_click(const ViewMouse& m);
    void box_wheel(int angle_delta, DevicePoint at);
    void box_paint();
    bool starts_pan(const ViewMouse& m) const;
    void set_space_held(bool on);
    void refresh_hand();

    ZoomPaintBox* box_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QWidget* strip_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    QToolButton* btn_out_ = nullptr;
    QToolButton* btn_in_ = nullptr;
    QToolButton* btn_last_ = nullptr;
    QToolButton* btn_reset_ = nullptr;
    std::array<QLabel*, 3> status_{};
    QTimer repeat_timer_;
    QTimer settle_timer_;

    QImage drawing_, mark_, composite_, screen_;
    QtCanvas draw_canvas_{&drawing_};
    QtCanvas mark_canvas_{&mark_};
    QtCanvas screen_canvas_{&screen_};

    TZoomView fit_, current_, last_;
    PixelSize view_client_; // the client size the views were made for
    double zoom_factor_ = 1.25;
    TDrawRect draw_rect_ = TDrawRect::drZoom;
    bool zoom_enabled_ = false;
    TZoomHints hints_;
    int zoom_help_context_ = 0;
    int help_context_ = 0;
    Units units_ = Units::Metric;
    Colour colour_ = 0xFFFFFF;
    bool active_ = false;
    bool lathe_readout_ = false;
    bool dragging_ = false;
    bool band_shown_ = false;
    DevicePoint anchor_, corner_, pointer_;
    // The pointer has been over the picture since it was last fitted.
    bool pointer_seen_ = false;
    int repeat_direction_ = 0;
    WorldRect selection_;
    bool mapping_failed_ = false;
    bool drawing_scene_ = false;
    // Wheel turns not yet worth a whole step (touchpads send small ones).
    int wheel_rest_ = 0;
    bool space_held_ = false;
    bool panning_ = false;
    DevicePoint pan_last_;
    // The cursor the hand replaced, put back when panning ends.
    bool hand_shown_ = false;
    QCursor saved_cursor_;
};

} // namespace zeran
