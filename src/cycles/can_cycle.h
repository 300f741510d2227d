#pragma once
// One machining cycle: its kind, parameters, start point, tool and picked
// elements, the profile records made from those elements, and the computed
// tool path. Generation is on demand; nothing of a tool path is stored.
#include "cycles/cnc_groups.h"
#include "cycles/cycle_params.h"
#include "cycles/max_min.h"
#include "cycles/nose_offset.h"
#include "geometry/canvas.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zeran {

class DXF_Entity;
class TToolControl;

// What the Parameters node hands a cycle before generation.
struct TCycleDefinition {
    bool Valid = false;
    TCycleParams Params;
    double StartX = kNotSet;
    double StartZ = kNotSet;
};

// A point in drawing coordinates (the datum lives there).
struct DrawingPoint {
    double x = 0;
    double y = 0;
};

// Rapid, linear, clockwise arc, counter-clockwise arc, thread, and one unused.
using CycleColours = std::array<Colour, 6>;
// Maps a drawing point to the screen.
using DrawingProjection = std::function<DevicePoint(double x, double y)>;

// A cycle whose path would exceed this many moves fails generation instead
// of exhausting memory (a depth of cut of 1e-9, a runaway profile).
inline constexpr std::size_t kMaxMovesPerCycle = 2'000'000;

class TCanCycle {
public:
    TCanCycle() = default;
    ~TCanCycle() = default;
    TCanCycle(const TCanCycle&) = delete;
    TCanCycle& operator=(const TCanCycle&) = delete;

    bool XSide = false; // start point on the maximum-X side of the profile
    bool ZSide = false; // start point on the maximum-Z side of the profile
    std::vector<TCNC_Groups*> ProfileMoves;
    bool Valid = false;
    std::int32_t CycleCode = 0;
    TCycleParams Params;
    CyclePoint StartPoint{kNotSet, kNotSet};
    bool ProfileChecked = false;
    double DrawScale = 1.0;
    bool NeedsGenerate = false;
    bool FirstElement = false;
    CyclePoint CurrentPos;
    // (cycle, maximum, position): raised by Draw.
    std::function<void(TCanCycle&, int, int)> OnProgress;
    // Owns every record; ProfileMoves and Moves refer into it.
    std::vector<std::unique_ptr<TCNC_Groups>> AllRecords;
    // The picked elements in pick order; the entities belong to the Profile list.
    std::vector<DXF_Entity*> Elements;
    TMaxMin Extents;
    // Extents of the element end points that are off the spindle axis; the
    // side tests use them so that a face down to the axis does not decide.
    TMaxMin OffAxisExtents;
    std::function<void(TCanCycle&)> OnProfileDirection;
    CyclePoint Allowance;
    DrawingPoint Datum;
    CycleKind Kind = CycleKind::AlongX;
    std::vector<TCNC_Groups*> Moves;
    std::int32_t ToolNumber = 0;
    double ToolWidth = 0;
    double ToolLength = 0;
    double NoseRadius = 0;
    std::int32_t NoseOrientation = 0;
    std::string Comment;
    void* CycleNode = nullptr; // opaque handle of the cycle's tree node
    // Why the last Generate failed (empty after success or a quiet refusal).
    std::string FailReason;
    // Where the last generation's nose compensation left material it cannot reach.
    std::vector<UncutPlace> Uncut;

    void SetDefinition(const TCycleDefinition& definition);
    // Copies the number, size and nose of the cycle's tool.
    void TakeTool(const TToolControl& tool);
    CyclePoint GetStartPoint() const { return StartPoint; }
    void SetNeedsGenerate(bool flag) { NeedsGenerate = flag; }
    bool CanGenerate() const { return !Elements.empty() && Valid; }
    bool Generate();
    void Clear();
    void SetElements(std::vector<DXF_Entity*> elements) { Elements = std::move(elements); }
    const std::string& LastError() const { return FailReason; }

    void Draw(Canvas& canvas, const CycleColours& colours, const DrawingProjection& project);

    // Appends one output record; a point carrying the not-found marker is
    // ignored. Returns false once the move bound is reached.
    bool AddMove(int motion, CyclePoint point, CyclePoint offset, const TCNC_Groups* source,
                 double feed);
    void AddProfileRecord(TCNC_Groups* record);
    // A fresh record owned by AllRecords.
    TCNC_Groups* NewRecord();
    TCNC_Groups* NewRecord(const TCNC_Groups& copy_of);

    // Marks the generation failed with a reason; the generators stop at once.
    bool Fail(std::string reason);
    bool Failed() const { return !FailReason.empty(); }

    double PointTolerance() const;
    double UnitTolerance() const;
    bool PointsCoincide(CyclePoint a, CyclePoint b) const;

    // Profile preparation.
    void BuildProfile();
    bool OrientProfile(const TCNC_Groups& first, const TCNC_Groups& last);
    void CleanProfile(std::vector<TCNC_Groups*>& list);
    void TrimArcs(std::vector<TCNC_Groups*>& list);
    bool BulgesTowardTool(CyclePoint s, CyclePoint e, const TCNC_Groups& arc) const;

    // The path is offset by the nose radius in the program: a contour kind,
    // a nose, and "In program" chosen.
    bool CompensatesNose() const;
    // The imaginary tool tip from the round's centre when compensating, else (0, 0).
    CyclePoint NoseTipOffset() const;
    // Replaces the prepared profile by the imaginary tip's path along the
    // profile offset by the nose radius.
    void CompensateNose();

private:
    TCNC_Groups* ConvertElement(DXF_Entity& element, bool reversed);
    void FreeRecords(const std::vector<TCNC_Groups*>& doomed);
    bool CheckInputs();
};

} // namespace zeran
