#include "cycles/can_cycle.h"
#include "cycles/profile_geometry.h"

#include <cmath>

namespace zeran {

namespace {

double sign_of(bool flag) {
    return flag ? -1.0 : 1.0;
}

} // namespace

// Rebuilds the profile so that a tool from the start side can follow it:
// steps against the machining direction (undercuts) are bridged along Z.
void TCanCycle::CleanProfile(std::vector<TCNC_Groups*>& list) {
    if (list.empty()) return;
    TrimArcs(list);
    const double diag = Extents.Diagonal();
    const double tol = PointTolerance();
    const double unit_tol = UnitTolerance();

    std::vector<TCNC_Groups*> copies;
    copies.reserve(list.size());
    for (const TCNC_Groups* r : list) copies.push_back(NewRecord(*r));
    list.clear();
    list.push_back(copies.front());
    std::vector<TCNC_Groups*> freed;

    const std::size_t n = copies.size();
    // Every pass of the loop either advances i or appends a bridge that the
    // next pass advances from; the guard only stops a profile that cycles.
    std::size_t guard = 8 * n + 64;
    std::size_t i = 0;
    while (n >= 2 && i <= n - 2) {
        if (guard-- == 0) {
            Fail("The profile could not be prepared: its undercuts do not resolve.");
            break;
        }
        TCNC_Groups* last = list.back();
        const TCNC_Groups* cur = copies[i + 1];
        const CyclePoint last_p = record_point(*last);
        const CyclePoint cur_p = record_point(*cur);
        const CyclePoint v{cur_p.X - last_p.X, cur_p.Z - last_p.Z};
        const CyclePoint d = Unit(v);

        if (((d.X > 0) == XSide || std::fabs(d.X) < kDirectionTolerance) &&
            ((d.Z < 0) == ZSide || std::fabs(d.Z) < kDirectionTolerance)) {
            TCNC_Groups* c = NewRecord(*cur);
            SetRecord(*c, last_p, c->Motion(), cur_p);
            list.push_back(c);
            ++i;
            continue;
        }
        if (std::sqrt(v.X * v.X + v.Z * v.Z) < unit_tol && !cur->IsArc()) {
            if (list.size() >= 2) {
                SetRecord(*last, record_point(*list[list.size() - 2]), last->Motion(), last_p);
            }
            ++i;
            continue;
        }

        // An undercut starts at `last`: cast a ray along Z in the cutting
        // direction and bridge to where it meets the profile again.
        const CyclePoint a = last_p;
        const CyclePoint b{a.X, a.Z + sign_of(ZSide) * diag};
        const std::size_t start_i = i;
        for (std::size_t j = i; j <= n - 2; ++j) {
            const TCNC_Groups* pj = copies[j];
            const TCNC_Groups* pj1 = copies[j + 1];
            const CyclePoint h =
                pj1->IsArc() ? LineArcIntersection(a, b, *pj1, *pj, tol)
                             : SegmentIntersection(a, b, record_point(*pj), record_point(*pj1));
            if (is_not_found(h) && j == n - 2) {
                TCNC_Groups* c = NewRecord(*pj1);
                SetRecord(*c, last_p, c->Motion(), {last_p.X, pj1->Z()});
                list.push_back(c);
                i = j + 1;
                break;
            }
            if (!is_not_found(h)) {
                TCNC_Groups* c = NewRecord(*pj);
                SetRecord(*c, last_p, kMotionLinear, h);
                list.push_back(c);
                i = j;
                break;
            }
            const CyclePoint e = Unit({pj->X() - pj1->X(), pj->Z() - pj1->Z()});
            const bool climbs_back =
                ((e.X < 0) == XSide || e.X == 0) && ((e.Z < 0) == ZSide || e.Z == 0);
            if (!climbs_back) continue;
            const CyclePoint g = record_point(*pj1);
            const CyclePoint vv{g.X + sign_of(XSide) * diag, g.Z};
            bool bridged = false;
            for (std::size_t k = list.size() - 1; k >= 1; --k) {
                const TCNC_Groups* lk = list[k];
                const CyclePoint h2 =
                    lk->IsArc()
                        ? LineArcIntersection(g, vv, *lk, k > 1 ? *list[k - 2] : *list[0], tol)
                        : SegmentIntersection(g, vv, record_point(*lk), record_point(*list[k - 1]));
                if (is_not_found(h2)) continue;
                for (std::size_t x = k + 1; x < list.size(); ++x) freed.push_back(list[x]);
                list.resize(k + 1);
                const CyclePoint before =
                    list.size() > 1 ? record_point(*list[k - 1]) : kPointNotFound;
                SetRecord(*list[k], before, list[k]->Motion(), h2);
                TCNC_Groups* c = NewRecord(*copies[start_i + 1]);
                SetRecord(*c, h2, c->Motion(), record_point(*copies[start_i + 1]));
                list.push_back(c);
                i = j + 1;
                bridged = true;
                break;
            }
            if (bridged) break;
        }
        if (i == start_i && list.back() == last) {
            // No branch applied (cannot happen for j = n - 2); step on.
            ++i;
        }
    }
    FreeRecords(freed);
}

} // namespace zeran
