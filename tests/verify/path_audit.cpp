#include "path_audit.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace zeran::verify {

namespace {

const char* kind_text(MoveKind k) {
    switch (k) {
    case MoveKind::Rapid:
        return "rapid";
    case MoveKind::Feed:
        return "feed";
    case MoveKind::Thread:
        return "thread";
    }
    return "?";
}

std::string move_text(std::size_t i, const Move& m) {
    std::ostringstream s;
    s << "move " << i << " (" << kind_text(m.kind) << (m.path.arc ? " arc" : "") << " "
      << text(m.path.a) << " -> " << text(m.path.b);
    if (m.path.arc) s << " about " << text(m.path.centre);
    s << ")";
    return s.str();
}

} // namespace

std::string Findings::joined(std::size_t at_most) const {
    std::string out;
    for (std::size_t i = 0; i < lines.size() && i < at_most; ++i) out += lines[i] + "\n";
    if (lines.size() > at_most)
        out += "... and " + std::to_string(lines.size() - at_most) + " more\n";
    return out;
}

void check_gouges(const std::vector<Move>& moves, const Region& part, double tol, double step,
                  Findings& out, double width) {
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Move& m = moves[i];
        if (m.kind == MoveKind::Thread) continue;
        std::vector<Piece> probes{m.path};
        if (width > 0) {
            const Pt w{0, width};
            probes.push_back(shifted(m.path, w));
            probes.push_back(line_piece(m.path.b, {m.path.b.x, m.path.b.z + width}));
        }
        for (const Piece& probe : probes) {
            const Penetration p = deepest_inside(probe, part, step);
            if (p.depth > tol) {
                std::ostringstream s;
                s << move_text(i, m) << " is " << p.depth << " inside the part at " << text(p.at);
                out.add(s.str());
                break;
            }
        }
    }
}

void check_arcs(const std::vector<Move>& moves, double tol, Findings& out) {
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Move& m = moves[i];
        if (!m.path.arc) continue;
        const double ra = dist(m.path.a, m.path.centre), rb = dist(m.path.b, m.path.centre);
        if (std::fabs(ra - rb) > tol) {
            std::ostringstream s;
            s << move_text(i, m) << " starts " << ra << " and ends " << rb << " from its centre";
            out.add(s.str());
        }
    }
}

void check_covered(const std::vector<Move>& moves, const std::vector<Piece>& profile, double tol,
                   double step, Findings& out) {
    std::vector<const Piece*> cuts;
    for (const Move& m : moves)
        if (m.kind == MoveKind::Feed) cuts.push_back(&m.path);
    for (const Piece& p : profile) {
        const double len = length_of(p);
        const int n = std::max(1, static_cast<int>(std::ceil(len / step)));
        for (int k = 0; k <= n; ++k) {
            const Pt q = point_at(p, static_cast<double>(k) / n);
            double best = 1e300;
            for (const Piece* c : cuts) best = std::min(best, distance_to(q, *c));
            if (best > tol) {
                std::ostringstream s;
                s << "the profile at " << text(q) << " is " << best << " from every cut";
                out.add(s.str());
                break;
            }
        }
    }
}

StockField::StockField(const Region& part, bool along_z, bool x_high, bool z_high, double lo,
                       double hi, Pt start, double cell)
    : part_(part), along_z_(along_z), tool_high_(along_z ? x_high : z_high), lo_(lo), hi_(hi),
      cell_(cell) {
    const int n = std::max(1, static_cast<int>(std::ceil((hi - lo) / cell)));
    front_.assign(n, level(start));
    other_high_ = along_z ? z_high : x_high;
    other_front_ = other_high_ ? across(start) : -across(start);
}

double StockField::level(Pt p) const {
    const double v = along_z_ ? p.x : p.z;
    return tool_high_ ? v : -v;
}

int StockField::slice(double s) const {
    return static_cast<int>(std::floor((s - lo_) / cell_));
}

void StockField::cut(const Piece& feed, double width) {
    const double len = length_of(feed);
    const int n = std::max(1, static_cast<int>(std::ceil(len / (cell_ / 2))));
    for (int k = 0; k <= n; ++k) {
        const Pt q = point_at(feed, static_cast<double>(k) / n);
        const int a = slice(across(q));
        const int b = slice(across(q) + width);
        for (int i = std::max(a, 0); i <= std::min(b, static_cast<int>(front_.size()) - 1); ++i)
            front_[i] = std::min(front_[i], level(q));
    }
}

double StockField::stock_depth(Pt p) const {
    const double s = across(p);
    if (s <= lo_ + cell_ || s >= hi_ - cell_) return 0;
    const int i = slice(s);
    // One slice either side is forgiven: the field is only as fine as its cells.
    double front = front_[i];
    if (i > 0) front = std::min(front, front_[i - 1]);
    if (i + 1 < static_cast<int>(front_.size())) front = std::min(front, front_[i + 1]);
    const double below = front - level(p);
    const double beyond = other_front_ - (other_high_ ? s : -s);
    if (below <= 0 || beyond <= 0 || part_.contains(p)) return 0;
    return std::min({below, beyond, part_.boundary_distance(p)});
}

void check_rapids_in_stock(const std::vector<Move>& moves, StockField& stock, double tol,
                           double step, Findings& out, double width) {
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Move& m = moves[i];
        if (m.kind == MoveKind::Feed) {
            stock.cut(m.path, width);
            continue;
        }
        if (m.kind != MoveKind::Rapid) continue;
        const double len = length_of(m.path);
        const int n = std::max(1, static_cast<int>(std::ceil(len / step)));
        for (int k = 0; k <= n; ++k) {
            const Pt q = point_at(m.path, static_cast<double>(k) / n);
            double d = stock.stock_depth(q);
            if (width > 0) d = std::max(d, stock.stock_depth({q.x, q.z + width}));
            if (d > tol) {
                std::ostringstream s;
                s << move_text(i, m) << " runs " << d << " deep through uncut stock at " << text(q);
                out.add(s.str());
                break;
            }
        }
    }
}

} // namespace zeran::verify
