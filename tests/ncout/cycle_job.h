#pragma once
// Jobs made by the cycle engine from profiles given as segments, written as
// GNC and posted with the shipped post libraries.
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "geometry/point_entities.h"
#include "ncout/gnc_reader.h"
#include "ncout/gnc_writer.h"
#include "ncout/post_library.h"
#include "ncout/post_processor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace zeran::test {

struct Segment {
    double x0, z0, x1, z1; // radius, Z
    bool arc = false;
    double cx = 0, cz = 0;
    bool ccw = true; // with Z to the right and X up
};

inline double degrees(double x, double z, double cx, double cz) {
    double a = std::atan2(x - cx, z - cz) * 180 / std::numbers::pi;
    return a < 0 ? a + 360 : a;
}

// The datum is the drawing origin, so drawing x = Z and y = X.
inline std::unique_ptr<DXF_Entity> entity(const Segment& s) {
    if (!s.arc) return std::make_unique<Line_>(Point3D{s.z0, s.x0, 0}, 7, Point3D{s.z1, s.x1, 0});
    double r = std::hypot(s.x0 - s.cx, s.z0 - s.cz);
    double a = degrees(s.x0, s.z0, s.cx, s.cz), b = degrees(s.x1, s.z1, s.cx, s.cz);
    return std::make_unique<Arc_>(Point3D{0, 0, 1}, 7, s.ccw ? a : b, s.ccw ? b : a, r,
                                  Point3D{s.cz, s.cx, 0});
}

class Job {
public:
    // Given to every cycle added after it is set.
    double nose_radius = 0;
    int nose_orientation = 0;

    TCanCycle& add(CycleKind kind, int tool, const std::vector<Segment>& profile, double start_x,
                   double start_z, const TCycleParams& params, double tool_width = 0,
                   std::string comment = {}) {
        auto c = std::make_unique<TCanCycle>();
        std::vector<DXF_Entity*> elements;
        for (const auto& s : profile) {
            entities_.push_back(entity(s));
            elements.push_back(entities_.back().get());
        }
        c->Kind = kind;
        c->ToolNumber = tool;
        c->ToolWidth = tool_width;
        c->NoseRadius = nose_radius;
        c->NoseOrientation = nose_orientation;
        c->Comment = std::move(comment);
        c->SetElements(elements);
        c->SetDefinition({true, params, start_x, start_z});
        c->SetNeedsGenerate(true);
        EXPECT_TRUE(c->Generate()) << cycle_short_name(c->Kind) << ": " << c->LastError();
        EXPECT_FALSE(c->Moves.empty());
        cycles_.push_back(std::move(c));
        return *cycles_.back();
    }
    std::string gnc() {
        THeader header;
        header.ProjectName = "/jobs/spindle.tcf";
        header.BilletRadius = 25;
        header.BilletLength = 80;
        header.Date = 46000;
        TGNCOutput w;
        w.Header = &header;
        for (auto& c : cycles_) w.AppendCycle(c.get());
        return w.Text();
    }

private:
    std::vector<std::unique_ptr<DXF_Entity>> entities_;
    std::vector<std::unique_ptr<TCanCycle>> cycles_;
};

inline TCycleParams params(double feed, double speed, bool css) {
    TCycleParams p;
    p.Feed = feed;
    p.Speed = speed;
    p.UseCSS = css;
    p.UseFPR = true;
    p.DepthCutX = 2;
    p.DepthCutZ = 2;
    p.AllowanceX = 0.2;
    p.AllowanceZ = 0.1;
    p.RetractX = 0.5;
    p.RetractZ = 0.5;
    return p;
}

inline std::string post(const std::string& gnc, const std::string& library,
                        const PostMachine& machine = {}) {
    return post_process(
        read_gnc(gnc),
        PostLibrary::load(std::string(ZERAN_SOURCE_DIR) + "/postvex/data/Libs/" + library),
        machine);
}

} // namespace zeran::test
