#pragma once
// Single-line text and the two attribute kinds: Text_, Attrib_ and Attdef_.
#include "geometry/point_entities.h"

#include <string>

namespace zeran {

// The inherited point is the insertion point.
class Text_ : public Point_ {
public:
    // An align point of ORIGIN means "at the insertion point".
    Text_(const Point3D& extrusion, int justification, int colour_index, double height,
          std::string text, const Point3D& align_point, const Point3D& insertion_point);

    EntityKind kind() const override { return EntityKind::Text; }
    std::unique_ptr<DXF_Entity> clone() const override;

    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;

    double height = 0.0;
    std::string text;
    Point3D align_point;
    // DXF group 72: 0 left, 1 centre, 2 right.
    std::int32_t justification = 0;

protected:
    // Draws `s` by the text rules (pen, height from the zoom, alignment).
    void draw_text(Canvas& canvas, const Matrix4* parent, point_mapper map,
                   const std::string& s) const;
};

// An attribute value (the inherited text) under its tag.
class Attrib_ : public Text_ {
public:
    // flags: DXF group 70; bit 1 set means invisible.
    Attrib_(const Point3D& extrusion, int colour_index, double height, int justification, int flags,
            std::string value, std::string tag, const Point3D& align_point,
            const Point3D& insertion_point);

    EntityKind kind() const override { return EntityKind::Attrib; }
    std::unique_ptr<DXF_Entity> clone() const override;

    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;

    std::string tag;
    bool visible = true;
};

// An attribute definition: never drawn.
class Attdef_ : public Attrib_ {
public:
    Attdef_(const Point3D& extrusion, int colour_index, double height, int justification, int flags,
            std::string prompt, std::string value, std::string tag, const Point3D& align_point,
            const Point3D& insertion_point);

    EntityKind kind() const override { return EntityKind::Attdef; }
    std::unique_ptr<DXF_Entity> clone() const override;

    void draw(Canvas&, const Matrix4*, point_mapper) const override {}
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;

    std::string prompt;
};

} // namespace zeran
