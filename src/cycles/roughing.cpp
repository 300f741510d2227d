#include "cycles/contour_pass.h"
#include "cycles/cycle_kinds.h"
#include "cycles/generators.h"
#include "cycles/profile_geometry.h"

#include <cmath>

namespace zeran {

namespace {

double signed_add(bool flag, double a, double b) {
    return flag ? b + a : b - a;
}

// Axis-neutral view of one roughing direction: `cut` is the axis the depth of
// cut is taken in (X for code 71, Z for code 72), `run` the axis a pass runs
// along. The scheme is the same for both with the axes exchanged.
struct Axes {
    bool along_x; // code 71
    double& cut(CyclePoint& p) const { return along_x ? p.X : p.Z; }
    double& run(CyclePoint& p) const { return along_x ? p.Z : p.X; }
    double cut(const CyclePoint& p) const { return along_x ? p.X : p.Z; }
    double run(const CyclePoint& p) const { return along_x ? p.Z : p.X; }
};

class Roughing {
public:
    explicit Roughing(TCanCycle& cycle)
        : c_(cycle), axes_{cycle.CycleCode == kCodeAlongX}, a_(cycle.Allowance),
          s_(cycle.StartPoint), feed_(cycle.Params.Feed) {
        depth_ = axes_.along_x ? cycle.Params.DepthCutX : cycle.Params.DepthCutZ;
        retract_ = axes_.along_x ? cycle.Params.RetractX : cycle.Params.RetractZ;
        // The cut side flag says where the tool comes from in the depth axis.
        cut_side_ = axes_.along_x ? cycle.XSide : cycle.ZSide;
    }

    bool Run();

private:
    bool Beyond(double t, double q) const { return cut_side_ ? t < q : t > q; }
    bool ShortOf(double t, double q) const { return cut_side_ ? t > q : t < q; }
    double Deeper(double v) const { return signed_add(!cut_side_, depth_, v); }
    double EstimatedMoves() const;
    // Where the pass at `level` meets the segment G -> E on the run axis, or
    // the not-found marker.
    double MeetSegment(const TCNC_Groups& r, CyclePoint g, CyclePoint e, double level) const;
    double ArcAtLevel(const TCNC_Groups& r, double level) const;
    void CutSegment(std::size_t index, CyclePoint& t, double& level);

    TCanCycle& c_;
    Axes axes_;
    CyclePoint a_;
    CyclePoint s_;
    double feed_;
    double depth_ = 0;
    double retract_ = 0;
    bool cut_side_ = false;
};

double Roughing::ArcAtLevel(const TCNC_Groups& r, double level) const {
    const CyclePoint centre{r.CentreX() + a_.X, r.CentreZ() + a_.Z};
    const double radius = r.Radius();
    const double tol = c_.PointTolerance();
    const double mid = axes_.cut(centre);
    if (level < mid - radius - tol || level > mid + radius + tol) return kNotSet;
    const double w = std::sqrt(std::fabs(radius * radius - (level - mid) * (level - mid)));
    const bool cw = r.Motion() == kMotionClockwise;
    const bool side = axes_.along_x ? c_.XSide : c_.ZSide;
    return cw == side ? axes_.run(centre) - w : axes_.run(centre) + w;
}

double Roughing::MeetSegment(const TCNC_Groups& r, CyclePoint g, CyclePoint e, double level) const {
    if (r.IsArc()) return ArcAtLevel(r, level);
    if (axes_.along_x) {
        if (e.X == g.X || e.Z == g.Z) return c_.ZSide ? e.Z : g.Z;
        return e.Z + (g.Z - e.Z) * (level - e.X) / (g.X - e.X);
    }
    if (g.X == e.X || g.Z == e.Z) return c_.XSide ? g.X : e.X;
    return g.X + (e.X - g.X) * (level - g.Z) / (e.Z - g.Z);
}

double Roughing::EstimatedMoves() const {
    const TMaxMin& ext = c_.Extents;
    const double far =
        axes_.along_x ? (cut_side_ ? ext.MinX : ext.MaxX) : (cut_side_ ? ext.MinZ : ext.MaxZ);
    const double start = axes_.cut(s_) + axes_.cut(a_);
    const double passes = std::fabs(start - far) / depth_ + 2;
    return 4 * (passes + static_cast<double>(c_.ProfileMoves.size())) + 8;
}

void Roughing::CutSegment(std::size_t index, CyclePoint& t, double& level) {
    const auto& profile = c_.ProfileMoves;
    const TCNC_Groups& r = *profile[index];
    const TCNC_Groups* first = profile.front();
    const CyclePoint e{r.X() + a_.X, r.Z() + a_.Z};
    const CyclePoint g =
        index == 0 ? CyclePoint{r.X() + a_.X, s_.Z + a_.Z}
                   : CyclePoint{profile[index - 1]->X() + a_.X, profile[index - 1]->Z() + a_.Z};
    // Code 71 tests the segment's start (G), code 72 its end (E).
    const CyclePoint limit = axes_.along_x ? g : e;
    const CyclePoint outer = axes_.along_x ? e : g;
    // A segment parallel to the passes gets none of its own.
    const bool parallel = axes_.along_x ? (r.WordSet[kWordZ] && !r.WordSet[kWordX])
                                        : (r.WordSet[kWordX] && !r.WordSet[kWordZ]);
    int state = parallel ? 4 : 1;
    while (state != 4 && !Beyond(axes_.cut(t), axes_.cut(limit)) && !c_.Failed()) {
        switch (state) {
        case 1: {
            c_.AddMove(kMotionRapid, t, a_, first, 0);
            double met = axes_.run(outer);
            if (!ShortOf(axes_.cut(t), axes_.cut(outer))) met = MeetSegment(r, g, e, axes_.cut(t));
            // A level that misses the arc cuts nothing rather than heading for
            // the not-found marker.
            if (!is_not_set(met)) {
                axes_.run(t) = met;
                c_.AddMove(kMotionLinear, t, a_, &r, feed_);
            }
            state = 2;
            break;
        }
        case 2:
            t.X = signed_add(c_.XSide, retract_, t.X);
            t.Z = signed_add(c_.ZSide, retract_, t.Z);
            c_.AddMove(kMotionRapid, t, a_, first, feed_);
            state = 3;
            break;
        case 3:
            axes_.run(t) = axes_.run(s_) + axes_.run(a_);
            c_.AddMove(kMotionRapid, t, a_, first, feed_);
            // The next level is one depth beyond the level just cut, not
            // beyond the retracted position.
            level = Deeper(level);
            axes_.cut(t) = level;
            state = ShortOf(axes_.cut(t), axes_.cut(limit)) ? 1 : 4;
            break;
        default:
            state = 4;
            break;
        }
    }
}

bool Roughing::Run() {
    const auto& profile = c_.ProfileMoves;
    if (profile.empty()) return c_.Fail("The profile is empty.");
    if (!(depth_ > 0)) return c_.Fail("The depth of cut must be greater than 0.");
    if (EstimatedMoves() > static_cast<double>(kMaxMovesPerCycle))
        return c_.Fail("The depth of cut is too small for this profile: the tool path would "
                       "exceed " +
                       std::to_string(kMaxMovesPerCycle) + " moves.");
    if (depth_ <= retract_) {
        // A retract at or beyond the depth would rapid into the part.
        retract_ = depth_ - 0.1 > 0 ? depth_ - 0.1 : depth_ / 2;
    }
    CyclePoint t{s_.X + a_.X, s_.Z + a_.Z};
    c_.AddMove(kMotionRapid, t, a_, axes_.along_x ? profile.back() : profile.front(), feed_);
    double level = Deeper(axes_.cut(t));
    axes_.cut(t) = level;
    if (axes_.along_x) {
        for (std::size_t i = profile.size(); i-- > 0 && !c_.Failed();) CutSegment(i, t, level);
    } else {
        for (std::size_t i = 0; i < profile.size() && !c_.Failed(); ++i) CutSegment(i, t, level);
    }
    if (c_.Failed()) return false;
    return ContourPass(c_, a_, profile);
}

} // namespace

bool generate_roughing(TCanCycle& cycle) {
    return Roughing(cycle).Run();
}

} // namespace zeran
