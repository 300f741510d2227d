#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"

#include <cmath>
#include <numbers>

namespace zeran {

namespace {

double distance(const Point3D& a, const Point3D& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

} // namespace

// Converts the picked elements into profile records in machining order,
// orienting each element to continue from the one before.
void TCanCycle::BuildProfile() {
    const auto to_cycle = [this](const Point3D& p) {
        return CyclePoint{p.y - Datum.y, p.x - Datum.x};
    };
    CurrentPos = StartPoint;
    Extents.Reset();
    OffAxisExtents.Reset();
    for (const DXF_Entity* e : Elements) {
        for (const Point3D& p : {e->start_point(), e->end_point()}) {
            const CyclePoint c = to_cycle(p);
            Extents.Add(c);
            if (std::fabs(c.X) >= PointTolerance()) OffAxisExtents.Add(c);
        }
    }
    if (Elements.empty()) return;

    const auto coincide = [this, &to_cycle](const Point3D& a, const Point3D& b) {
        return PointsCoincide(to_cycle(a), to_cycle(b));
    };

    DXF_Entity* first = Elements.front();
    bool reverse_first = false;
    if (Elements.size() >= 2) {
        const DXF_Entity* second = Elements[1];
        const Point3D s = first->start_point();
        reverse_first = coincide(s, second->start_point()) || coincide(s, second->end_point());
    } else {
        const CyclePoint a = to_cycle(first->start_point());
        const CyclePoint b = to_cycle(first->end_point());
        const bool by_distance = CycleCode == kCodeThreading || CycleCode == kCodeDrilling;
        // Threads and holes start at the end nearer the start point: with the
        // datum on the far side that is not the end nearer the datum.
        const auto value = [&](CyclePoint p) {
            if (by_distance) return std::hypot(p.X - StartPoint.X, p.Z - StartPoint.Z);
            return std::fabs(p.X) + std::fabs(p.Z - StartPoint.Z);
        };
        reverse_first = value(b) < value(a);
    }

    const CyclePoint p0 = to_cycle(reverse_first ? first->end_point() : first->start_point());
    TCNC_Groups* head = NewRecord();
    head->SetGroup(kGroupMotion, kMotionLinear);
    head->Words[kWordX] = p0.X;
    head->Words[kWordZ] = p0.Z;
    head->WordSet[kWordX] = p0.X != CurrentPos.X;
    head->WordSet[kWordZ] = p0.Z != CurrentPos.Z;
    AddProfileRecord(head);
    CurrentPos = p0;
    if (reverse_first) first->reverse();
    FirstElement = true;
    AddProfileRecord(ConvertElement(*first, first->reversed));
    FirstElement = false;

    for (std::size_t k = 1; k < Elements.size(); ++k) {
        DXF_Entity* el = Elements[k];
        const Point3D prev_end = Elements[k - 1]->end_point();
        bool reverse = false;
        if (coincide(el->end_point(), prev_end)) {
            reverse = true;
        } else if (!coincide(el->start_point(), prev_end)) {
            reverse = distance(el->end_point(), prev_end) < distance(el->start_point(), prev_end);
        }
        if (reverse) el->reverse();
        if (k + 1 == Elements.size() && CycleCode != kCodePatternRepeat)
            CurrentPos = to_cycle(el->end_point());
        AddProfileRecord(ConvertElement(*el, el->reversed));
    }
}

// One element as profile records: all but the last are appended here, the
// last is returned for the caller to append.
TCNC_Groups* TCanCycle::ConvertElement(DXF_Entity& element, bool reversed) {
    const auto to_cycle = [this](const Point3D& p) {
        return CyclePoint{p.y - Datum.y, p.x - Datum.x};
    };
    const auto linear_to = [this](CyclePoint p) {
        TCNC_Groups* r = NewRecord();
        r->SetGroup(kGroupMotion, kMotionLinear);
        r->Words[kWordX] = p.X;
        r->Words[kWordZ] = p.Z;
        r->WordSet[kWordX] = p.X != CurrentPos.X;
        r->WordSet[kWordZ] = p.Z != CurrentPos.Z;
        CurrentPos = p;
        return r;
    };

    if (auto* arc = dynamic_cast<Arc_*>(&element)) {
        const CyclePoint start = to_cycle(arc->start_point());
        if (!PointsCoincide(start, CurrentPos) && !FirstElement) AddProfileRecord(linear_to(start));
        TCNC_Groups* r = linear_to(to_cycle(arc->end_point()));
        r->SetGroup(kGroupMotion, reversed ? kMotionClockwise : kMotionCounterClockwise);
        const CyclePoint centre = to_cycle(arc->point);
        r->SetWord(kWordCentreX, centre.X);
        r->SetWord(kWordCentreZ, centre.Z);
        r->SetWord(kWordRadius, arc->radius);
        const double a0 = arc->start_angle * 180 / std::numbers::pi;
        const double a1 = arc->end_angle * 180 / std::numbers::pi;
        r->SetWord(kWordSweep, std::fabs(a0 > a1 ? a1 + 360 - a0 : a1 - a0));
        return r;
    }
    if (auto* poly = dynamic_cast<Polyline_*>(&element); poly && !poly->vertices.empty()) {
        const auto& v = poly->vertices;
        const std::size_t n = v.size();
        for (std::size_t k = 0; k + 1 < n; ++k)
            AddProfileRecord(linear_to(to_cycle(v[reversed ? n - 1 - k : k])));
        return linear_to(to_cycle(reversed ? v.front() : v.back()));
    }
    return linear_to(to_cycle(element.end_point()));
}

} // namespace zeran
