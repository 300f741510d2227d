#include "cycles/can_cycle.h"

#include "cycles/cycle_kinds.h"
#include "cycles/generators.h"
#include "cycles/tool_control.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace zeran {

void TCanCycle::SetDefinition(const TCycleDefinition& definition) {
    Valid = definition.Valid;
    Params = definition.Params;
    StartPoint = {definition.StartX, definition.StartZ};
    CycleCode = cycle_code(Kind);
}

void TCanCycle::TakeTool(const TToolControl& tool) {
    ToolNumber = tool.ToolNumber;
    ToolWidth = tool.ToolWidth;
    ToolLength = tool.ToolLength;
    NoseRadius = tool.NoseRadius;
    NoseOrientation = tool.NoseOrientation;
}

void TCanCycle::Clear() {
    ProfileMoves.clear();
    Moves.clear();
    AllRecords.clear();
    Uncut.clear();
    FirstElement = false;
}

TCNC_Groups* TCanCycle::NewRecord() {
    AllRecords.push_back(std::make_unique<TCNC_Groups>());
    return AllRecords.back().get();
}

TCNC_Groups* TCanCycle::NewRecord(const TCNC_Groups& copy_of) {
    AllRecords.push_back(std::make_unique<TCNC_Groups>(copy_of));
    return AllRecords.back().get();
}

void TCanCycle::AddProfileRecord(TCNC_Groups* record) {
    ProfileMoves.push_back(record);
}

void TCanCycle::FreeRecords(const std::vector<TCNC_Groups*>& doomed) {
    if (doomed.empty()) return;
    std::unordered_set<const TCNC_Groups*> set(doomed.begin(), doomed.end());
    std::erase_if(AllRecords,
                  [&](const std::unique_ptr<TCNC_Groups>& r) { return set.count(r.get()) != 0; });
}

bool TCanCycle::Fail(std::string reason) {
    if (FailReason.empty()) FailReason = std::move(reason);
    return false;
}

double TCanCycle::PointTolerance() const {
    return point_tolerance(Params.Units == 1 ? Units::Inch : Units::Metric);
}

double TCanCycle::UnitTolerance() const {
    return unit_tolerance(Params.Units == 1 ? Units::Inch : Units::Metric);
}

bool TCanCycle::PointsCoincide(CyclePoint a, CyclePoint b) const {
    const double tol = PointTolerance();
    return std::fabs(a.X - b.X) < tol && std::fabs(a.Z - b.Z) < tol;
}

bool TCanCycle::AddMove(int motion, CyclePoint point, CyclePoint offset, const TCNC_Groups* source,
                        double feed) {
    if (Failed()) return false;
    if (point.X == kNotSet || point.Z == kNotSet) return true;
    if (Moves.size() >= kMaxMovesPerCycle) {
        return Fail("The tool path needs more than " + std::to_string(kMaxMovesPerCycle) +
                    " moves; check the depths of cut and the profile.");
    }
    TCNC_Groups* r = NewRecord();
    r->SetGroup(kGroupMotion, motion);
    r->SetWord(kWordX, point.X);
    r->SetWord(kWordZ, point.Z);
    r->SetWord(kWordFeed, feed);
    r->SetWord(kWordSpeed, source != nullptr && source->WordSet[kWordSpeed]
                               ? source->Words[kWordSpeed]
                               : Params.Speed);
    if ((motion == kMotionClockwise || motion == kMotionCounterClockwise) && source != nullptr) {
        r->SetWord(kWordCentreX, source->CentreX() + offset.X);
        r->SetWord(kWordCentreZ, source->CentreZ() + offset.Z);
        r->SetWord(kWordSweep, source->Sweep());
        r->SetWord(kWordRadius, source->Radius());
    }
    Moves.push_back(r);
    return true;
}

namespace {

bool finite_params(const TCycleParams& p) {
    for (double v : {p.Feed, p.Speed, p.DepthCutX, p.DepthCutZ, p.AllowanceX, p.AllowanceZ,
                     p.RetractX, p.RetractZ, p.PeckReturnX, p.DepthThread, p.DepthFirst, p.Pitch,
                     p.MinCut, p.PeckReturnZ}) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

bool finite_record(const TCNC_Groups& r) {
    for (int slot : {kWordX, kWordZ, kWordRadius, kWordCentreX, kWordCentreZ, kWordSweep}) {
        if (!std::isfinite(r.Words[slot])) return false;
    }
    return true;
}

} // namespace

// Refuses what would make a generator loop without end or write nonsense.
bool TCanCycle::CheckInputs() {
    if (!finite_params(Params)) return Fail("A cycle parameter is not a finite number.");
    if (!std::isfinite(StartPoint.X) || !std::isfinite(StartPoint.Z) || is_not_set(StartPoint.X) ||
        is_not_set(StartPoint.Z))
        return Fail("The start point is not set.");
    if (!std::isfinite(Datum.x) || !std::isfinite(Datum.y))
        return Fail("The datum is not a finite point.");
    for (const TCNC_Groups* r : ProfileMoves) {
        if (!finite_record(*r)) return Fail("The profile holds a point that is not finite.");
    }
    return true;
}

bool TCanCycle::Generate() {
    if (Elements.empty() || !Valid || !NeedsGenerate) return false;
    Clear();
    FailReason.clear();
    BuildProfile();
    if (!CheckInputs()) {
        Clear();
        return false;
    }
    if (ProfileMoves.empty()) return Fail("The profile has no elements that can be cut.");
    if (!OrientProfile(*ProfileMoves.front(), *ProfileMoves.back())) return false;
    // A groove's walls and bottom are what the grooving tool cuts, so its
    // profile is taken raw.
    if (CycleCode != kCodeGrooving) CleanProfile(ProfileMoves);
    if (!Failed() && CompensatesNose()) CompensateNose();
    if (Failed()) {
        Clear();
        return false;
    }

    bool ok = false;
    switch (CycleCode) {
    case kCodeThreading:
        ok = generate_threading(*this);
        break;
    case kCodeFinishing:
        ok = generate_finishing(*this);
        break;
    case kCodeAlongX:
    case kCodeAlongZ:
        ok = generate_roughing(*this);
        break;
    case kCodePatternRepeat:
        ok = generate_pattern_repeat(*this);
        break;
    case kCodeDrilling:
        ok = generate_drilling(*this);
        break;
    case kCodeGrooving:
        ok = generate_grooving(*this);
        break;
    case kCodeLinear:
        ok = generate_linear(*this);
        break;
    default:
        return Fail("Unknown cycle code " + std::to_string(CycleCode) + ".");
    }
    if (Failed()) {
        // A half-made path must never reach the NC output.
        Clear();
        return false;
    }
    if (ok) NeedsGenerate = false;
    return ok;
}

} // namespace zeran
