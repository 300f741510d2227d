#include "geometry/text_entities.h"

#include "base/number_text.h"
#include "geometry/dxf_output.h"

namespace zeran {

// ---- Text_

Text_::Text_(const Point3D& extrusion, int just, int colour_index, double h, std::string s,
             const Point3D& align, const Point3D& insertion)
    : Point_(extrusion, colour_index, insertion), height(h), text(std::move(s)),
      align_point(align == ORIGIN ? insertion : align), justification(just) {}

std::unique_ptr<DXF_Entity> Text_::clone() const {
    return std::make_unique<Text_>(*this);
}

void Text_::draw_text(Canvas& canvas, const Matrix4* parent, point_mapper map,
                      const std::string& s) const {
    use_pen(canvas);
    // The height follows the view's zoom; 2 means it maps to nothing.
    const int h = map(ORIGIN, nullptr).y - map({0.0, height, 0.0}, nullptr).y + 2;
    if (h == 2) return;
    canvas.set_font_height(h);
    canvas.set_font_colour(colour());
    switch (justification) {
    case 0:
        canvas.set_text_align(TextAlign::Left);
        break;
    case 1:
        canvas.set_text_align(TextAlign::Centre);
        break;
    case 2:
        canvas.set_text_align(TextAlign::Right);
        break;
    default:
        break;
    }
    Matrix4 storage;
    canvas.text(map(align_point, compose_matrices(ocs(), parent, storage)), s);
}

void Text_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    draw_text(canvas, parent, map, text);
}

void Text_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    Point_::write_to_dxf(out, layer);
    out.real(40, height);
    out.text(1, text);
    if (justification != 0) {
        write_point(out, 11, align_point);
        out.integer(72, justification);
    }
}

std::string Text_::describe() const {
    std::string s = Point_::describe();
    s += kLineBreak;
    s += "Text \t" + text;
    s += kLineBreak;
    s += "TextHeight = " + fixed3_text(height);
    return s;
}

// ---- Attrib_

Attrib_::Attrib_(const Point3D& extrusion, int colour_index, double h, int just, int flags,
                 std::string value, std::string t, const Point3D& align, const Point3D& insertion)
    : Text_(extrusion, just, colour_index, h, std::move(value), align, insertion),
      tag(std::move(t)), visible((flags & 1) == 0) {}

std::unique_ptr<DXF_Entity> Attrib_::clone() const {
    return std::make_unique<Attrib_>(*this);
}

void Attrib_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    if (visible) draw_text(canvas, parent, map, text);
}

void Attrib_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    Text_::write_to_dxf(out, layer);
    out.text(2, tag);
    out.integer(70, visible ? 0 : 1);
}

std::string Attrib_::describe() const {
    std::string s = Text_::describe();
    s += kLineBreak;
    s += "Tag \t" + tag;
    s += kLineBreak;
    s += visible ? "Visible" : "Invisible";
    return s;
}

// ---- Attdef_

Attdef_::Attdef_(const Point3D& extrusion, int colour_index, double h, int just, int flags,
                 std::string p, std::string value, std::string t, const Point3D& align,
                 const Point3D& insertion)
    : Attrib_(extrusion, colour_index, h, just, flags, std::move(value), std::move(t), align,
              insertion),
      prompt(std::move(p)) {}

std::unique_ptr<DXF_Entity> Attdef_::clone() const {
    return std::make_unique<Attdef_>(*this);
}

void Attdef_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    Attrib_::write_to_dxf(out, layer);
    out.text(3, prompt);
}

} // namespace zeran
