#include "part_generator.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

namespace zeran::verify {

namespace {

class Dice {
public:
    explicit Dice(std::uint32_t seed) : gen_(seed) {}
    double real(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(gen_); }
    int whole(int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(gen_); }
    bool chance(double p) { return real(0, 1) < p; }
    // A value on a 0.1 grid, as drawings usually carry.
    double tidy(double lo, double hi) { return std::round(real(lo, hi) * 10) / 10; }

private:
    std::mt19937 gen_;
};

// Appends pieces from a running point. Canonical frame: the tool above and
// to the right, the profile running towards -Z with X growing.
class Chain {
public:
    explicit Chain(Pt from) : cur_(from) {}
    void line_to(Pt q) {
        if (dist(cur_, q) > 1e-9) pieces_.push_back(line_piece(cur_, q));
        cur_ = q;
    }
    // The arc from here to q about c that passes the side of `via`.
    void arc_to(Pt q, Pt c, Pt via) {
        Piece ccw = arc_piece(cur_, q, c, true);
        const double at = angle_about(via, c) - angle_about(cur_, c);
        const double wrapped = at < 0 ? at + 2 * 3.141592653589793 : at;
        if (wrapped > sweep_of(ccw)) ccw.ccw = false;
        pieces_.push_back(ccw);
        cur_ = q;
    }
    Pt at() const { return cur_; }
    std::vector<Piece>& pieces() { return pieces_; }

private:
    Pt cur_;
    std::vector<Piece> pieces_;
};

struct Features {
    bool grooves = true;
    bool coves = true;
    bool ball = true;
    double r0_lo = 4, r0_hi = 12;
    double rise_lo = 2, rise_hi = 8;
    double len_lo = 8, len_hi = 25;
    int steps_lo = 2, steps_hi = 5;
};

struct Canonical {
    std::vector<Piece> profile;
    std::vector<Groove> grooves;
    bool undercut = false;
    bool arcs = false;
    bool face_on_axis = false;
    Pt thread_from, thread_to;
};

// A groove of width w and depth g cut into the line X = r below z.
void add_groove(Chain& c, Dice& d, double r, double z, Canonical& out) {
    const double w = d.tidy(2, 5);
    const double g = std::min(d.tidy(0.5, 3), std::floor(r * 5) / 10);
    Chain own(c.at());
    const int type = d.whole(0, 2);
    auto both = [&](auto&& step) {
        step(c);
        step(own);
    };
    if (type == 2 && g >= w / 2) {
        // Round bottom: straight walls into a half circle.
        const double rb = w / 2;
        both([&](Chain& k) {
            k.line_to({r - g + rb, z});
            k.arc_to({r - g + rb, z - w}, {r - g + rb, z - rb}, {r - g, z - rb});
            k.line_to({r, z - w});
        });
        out.arcs = true;
    } else if (type == 1) {
        const double k = d.tidy(0.2, w / 4);
        both([&](Chain& ch) {
            ch.line_to({r - g, z - k});
            ch.line_to({r - g, z - w + k});
            ch.line_to({r, z - w});
        });
    } else {
        both([&](Chain& ch) {
            ch.line_to({r - g, z});
            ch.line_to({r - g, z - w});
            ch.line_to({r, z - w});
        });
    }
    out.grooves.push_back({own.pieces(), type == 0});
    out.undercut = true;
}

// A cove of radius rho dipping into the line X = r, centred at zc.
double add_cove(Chain& c, Dice& d, double r, double z, double room) {
    const double rho = d.tidy(1, std::min({5.0, r - 0.5, room / 2}));
    const double h = d.chance(0.4) ? 0 : d.tidy(0, rho * 0.6);
    const double half = std::sqrt(rho * rho - h * h);
    const double zc = z - half;
    c.arc_to({r, zc - half}, {r + h, zc}, {r + h - rho, zc});
    return 2 * half;
}

Canonical canonical(Dice& d, const Features& f) {
    Canonical out;
    double r = d.tidy(f.r0_lo, f.r0_hi);
    double z = 0;
    Chain c({0, 0});
    const int start_kind = d.whole(0, 9);
    if (f.ball && start_kind == 0 && r <= 10) {
        c.arc_to({r, -r}, {0, -r}, {r * 0.7071, -r * 0.2929});
        z = -r;
        out.arcs = true;
        out.face_on_axis = true;
    } else if (start_kind <= 7) {
        const double ch = d.chance(0.6) ? d.tidy(0.5, 1.5) : 0;
        c.line_to({r - ch, 0});
        c.line_to({r, -ch});
        z = -ch;
        out.face_on_axis = true;
    } else {
        c = Chain({r, 0});
    }
    const int steps = d.whole(f.steps_lo, f.steps_hi);
    for (int i = 0; i < steps; ++i) {
        const double len = d.tidy(f.len_lo, f.len_hi);
        const double seg_start = z;
        double zs = z - len;
        // A feature in the middle of the cylinder.
        const int feature = d.whole(0, 9);
        if (f.grooves && feature <= 2 && len >= 10 && r >= 3) {
            const double at = z - d.tidy(2, len - 8);
            c.line_to({r, at});
            add_groove(c, d, r, at, out);
        } else if (f.coves && feature == 3 && len >= 12 && r >= 3) {
            const double at = z - d.tidy(2, 3);
            c.line_to({r, at});
            add_cove(c, d, r, at, len - 8);
            out.undercut = true;
            out.arcs = true;
        } else if (i == 0 && out.thread_from.x == 0 && c.at().x == r) {
            out.thread_from = c.at();
            out.thread_to = {r, zs + 1};
        }
        (void)seg_start;
        if (i + 1 == steps) {
            c.line_to({r, zs});
            break;
        }
        const double r2 = r + d.tidy(f.rise_lo, f.rise_hi);
        const double rise = r2 - r;
        const int tr = d.whole(0, 5);
        const double fil = std::min(d.tidy(0.5, std::max(0.6, std::min(3.0, rise / 2))), 0.4 * len);
        const double top = d.tidy(0.3, std::max(0.4, std::min(2.0, rise / 3)));
        switch (tr) {
        case 1: // inner fillet
            c.line_to({r, zs + fil});
            c.arc_to({r + fil, zs}, {r + fil, zs + fil}, {r + fil * 0.3, zs + fil * 0.3});
            c.line_to({r2, zs});
            out.arcs = true;
            break;
        case 2: // chamfer at the top
            c.line_to({r, zs});
            c.line_to({r2 - top, zs});
            c.line_to({r2, zs - top});
            zs -= top;
            break;
        case 3: // round at the top
            c.line_to({r, zs});
            c.line_to({r2 - top, zs});
            c.arc_to({r2, zs - top}, {r2 - top, zs - top}, {r2 - top * 0.3, zs - top * 0.3});
            zs -= top;
            out.arcs = true;
            break;
        case 4: { // taper
            const double lt = d.tidy(2, 10);
            c.line_to({r, zs});
            c.line_to({r2, zs - lt});
            zs -= lt;
            break;
        }
        case 5: // fillet below and round above
            c.line_to({r, zs + fil});
            c.arc_to({r + fil, zs}, {r + fil, zs + fil}, {r + fil * 0.3, zs + fil * 0.3});
            if (rise - fil > top + 0.2) {
                c.line_to({r2 - top, zs});
                c.arc_to({r2, zs - top}, {r2 - top, zs - top}, {r2 - top * 0.3, zs - top * 0.3});
                zs -= top;
            } else {
                c.line_to({r2, zs});
            }
            out.arcs = true;
            break;
        default: // square shoulder
            c.line_to({r, zs});
            c.line_to({r2, zs});
        }
        r = r2;
        z = zs;
    }
    out.profile = c.pieces();
    return out;
}

Pt map_point(Pt p, double sx, double ox, double sz, double oz, double scale) {
    return {(ox + sx * p.x) * scale, (oz + sz * p.z) * scale};
}

// x -> ox + sx x, z -> oz + sz z, then scaled; a mirror turns arcs round.
std::vector<Piece> map_pieces(const std::vector<Piece>& in, double sx, double ox, double sz,
                              double oz, double scale) {
    std::vector<Piece> out;
    for (Piece p : in) {
        p.a = map_point(p.a, sx, ox, sz, oz, scale);
        p.b = map_point(p.b, sx, ox, sz, oz, scale);
        p.centre = map_point(p.centre, sx, ox, sz, oz, scale);
        if (sx * sz < 0) p.ccw = !p.ccw;
        out.push_back(p);
    }
    return out;
}

const char* kind_name(PartKind k) {
    switch (k) {
    case PartKind::Shaft:
        return "shaft";
    case PartKind::Bore:
        return "bore";
    case PartKind::Face:
        return "face";
    }
    return "?";
}

} // namespace

Region Part::region() const {
    std::vector<Piece> all = profile;
    all.insert(all.end(), closure.begin(), closure.end());
    return Region(all);
}

Part make_part(PartKind kind, std::uint32_t seed) {
    Dice d(seed * 2654435761u + static_cast<std::uint32_t>(kind));
    Part part;
    part.kind = kind;
    Features f;
    if (kind == PartKind::Bore) {
        f.ball = false;
        f.r0_lo = 3, f.r0_hi = 8;
        f.rise_lo = 1.5, f.rise_hi = 6;
        f.len_lo = 6, f.len_hi = 18;
    } else if (kind == PartKind::Face) {
        f.grooves = f.coves = f.ball = false;
        f.r0_lo = 3, f.r0_hi = 10;
        f.rise_lo = 5, f.rise_hi = 20;
        f.len_lo = 1.5, f.len_hi = 5;
        f.steps_lo = 3, f.steps_hi = 6;
    }
    Canonical c = canonical(d, f);
    if (kind == PartKind::Bore && !c.face_on_axis) {
        // A bore always opens through a face.
        Dice again(seed + 7);
        while (!c.face_on_axis) c = canonical(again, f);
    }
    std::vector<Piece> prof = c.profile;
    double len = 0, top = 0;
    for (const Piece& p : prof) {
        len = std::max({len, -p.a.z, -p.b.z});
        top = std::max({top, p.a.x, p.b.x});
    }
    std::vector<Piece> closure;
    double sx = 1, ox = 0;
    bool blind = false;
    if (kind == PartKind::Bore) {
        // Mirror in X about the deepest bore radius, so the face runs in from
        // the outside diameter and the bore narrows as it goes deeper.
        const double inner = d.tidy(6, 12);
        sx = -1;
        ox = top + inner;
        blind = d.chance(0.3);
    }
    const bool right = d.chance(0.7);
    const double sz = right ? 1 : -1;
    // Datum: at the right face, at the chuck side, or anywhere.
    const int datum = d.whole(0, 2);
    double oz = right ? 0 : -len;
    if (datum == 1) oz += len;
    if (datum == 2) oz += d.tidy(-30, 30);
    part.units = d.chance(0.3) ? 1 : 0;
    part.scale = part.units == 1 ? 1 / 25.4 : 1.0;
    const double s = part.scale;
    part.profile = map_pieces(prof, sx, ox, sz, oz, s);
    part.tool_above = sx > 0;
    part.tool_right = right;
    part.undercut = c.undercut;
    part.arcs = c.arcs;
    for (const Groove& g : c.grooves)
        part.grooves.push_back({map_pieces(g.pieces, sx, ox, sz, oz, s), g.square});
    if (c.thread_from.x > 0) {
        part.thread_from = map_point(c.thread_from, sx, ox, sz, oz, s);
        part.thread_to = map_point(c.thread_to, sx, ox, sz, oz, s);
    }
    const Pt first = part.profile.front().a;
    Pt last = part.profile.back().b;
    if (kind == PartKind::Bore) {
        const double outside = first.x + 5 * s;
        if (blind) {
            part.profile.push_back(line_piece(last, {0, last.z}));
            last = {0, last.z};
            const double beyond = last.z - sz * 5 * s;
            closure = {line_piece(last, {0, beyond}), line_piece({0, beyond}, {outside, beyond}),
                       line_piece({outside, beyond}, {outside, first.z}),
                       line_piece({outside, first.z}, first)};
        } else {
            closure = {line_piece(last, {outside, last.z}),
                       line_piece({outside, last.z}, {outside, first.z}),
                       line_piece({outside, first.z}, first)};
        }
    } else {
        closure = {line_piece(last, {0, last.z}), line_piece({0, last.z}, {0, first.z})};
        if (first.x > 0) closure.push_back(line_piece({0, first.z}, first));
    }
    part.closure = closure;
    if (c.face_on_axis && kind == PartKind::Shaft && d.chance(0.5)) {
        part.drill_depth = d.tidy(5, std::min(20.0, len * 0.6)) * s;
        part.face_z = first.z;
    }
    // The user's start point: beside the part on the tool's side, sometimes
    // inside the extents, so that the cycle has to move it out.
    const Region reg = part.region();
    const double zside = right ? reg.max_z() : reg.min_z();
    const double sz_off = d.tidy(-1, 6) * s;
    if (kind == PartKind::Bore) {
        double low = 1e300;
        for (const Piece& p : part.profile)
            for (Pt q : {p.a, p.b})
                if (q.x > 1e-9) low = std::min(low, q.x);
        part.start = {std::max(0.5 * s, low - d.tidy(-1, 4) * s), zside + sz * sz_off};
    } else {
        part.start = {reg.max_x() + d.tidy(-2, 8) * s, zside + sz * sz_off};
    }
    std::ostringstream n;
    n << kind_name(kind) << " seed " << seed << (part.units == 1 ? " inch" : " mm")
      << (right ? " from the right" : " from the chuck side") << " datum "
      << (datum == 0   ? "right face"
          : datum == 1 ? "chuck side"
                       : "elsewhere")
      << (blind ? " blind" : "");
    part.name = n.str();
    return part;
}

std::string describe(const Part& part) {
    std::ostringstream s;
    s << part.name << "\n  start " << text(part.start) << "\n";
    for (const Piece& p : part.profile) {
        s << "  " << (p.arc ? (p.ccw ? "ccw arc " : "cw arc ") : "line ") << text(p.a) << " -> "
          << text(p.b);
        if (p.arc) s << " about " << text(p.centre);
        s << "\n";
    }
    return s.str();
}

} // namespace zeran::verify
