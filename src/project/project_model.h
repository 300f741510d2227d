#pragma once
// The one open project: the drawing with its tree and element choices, the
// two sets of element lists, datum, billet, units, material and machine, the
// cycle list and the change flags. The window shows and edits
// this model; batch runs use it without a window.
#include "base/tolerances.h"
#include "cycles/cycle_params.h"
#include "dxf/curve_reading.h"
#include "geometry/drawing_tree.h"
#include "geometry/point3d.h"
#include "geometry/selection_lists.h"
#include "project/cycle_nodes.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace zeran {

class DXF_Object;
class Prompt;
class TParamControls;
struct PointsClipboard;
struct PointsCursor;

// An enabled cycle and what is wrong with it.
struct CycleFailure {
    int number = 0; // counted from 1 in list order
    std::string caption;
    std::string reason;
};

enum class AddType { Single = 0, Inclusive = 1 };
enum class UnitsQuestion { Ask, DontAsk };
enum class KeepTree { No, Yes };
enum class DatumSnap { Off, On };
enum class PasteChoice { Cancel = 0, Append = 1, Insert = 2, Replace = 3 };

// The material dialog as the import and "Select Material" use it: given the
// file, the name and the record, returns true after OK with all three replaced.
using MaterialChooser =
    std::function<bool(std::string& file, std::string& name, TCycleParams& record)>;

// What outlives a project: kept when another is opened, read or restored.
struct ProjectSettings {
    std::string default_material_file;
    std::string default_author;
    // Tool library entries ("1 - name"), with width, length and nose; empty without one.
    struct ToolEntry {
        std::string text;
        double width = 0;
        double length = 0;
        double nose_radius = 0;
        int nose_orientation = 0;
    };
    std::vector<ToolEntry> tool_library;
    MaterialChooser choose_material;
    // Looks a material up without a dialog: 0 loaded, 1 nothing loaded, 2
    // loaded from a file the user located elsewhere.
    std::function<int(std::string& file, std::string& name, TCycleParams& record)> load_material;
    // How an import reads polyline arcs and curves (the setting).
    CurveReading import_curves = CurveReading::Arcs;
};

class ProjectModel {
public:
    explicit ProjectModel(Prompt& prompt);
    ~ProjectModel();
    ProjectModel(const ProjectModel&) = delete;
    ProjectModel& operator=(const ProjectModel&) = delete;
    // Moves take every member along, so that swap_state never misses one.
    ProjectModel(ProjectModel&&) noexcept;
    ProjectModel& operator=(ProjectModel&&) noexcept;

    // Exchanges every piece of project state; the prompt and the settings stay.
    void swap_state(ProjectModel& other);

    // ---- Project-level fields ----
    std::string project_file_name = "Untitled.tcf";
    std::string tdx_file_name;
    std::string project_folder;
    std::unique_ptr<DXF_Object> drawing;
    Point3D extents_max{-1e10, -1e10, -1e10};
    Point3D extents_min{1e10, 1e10, 1e10};
    bool drawing_loaded = false;
    DrawingTree tree;
    // Clipped copies of the checked elements, owned by these lists.
    std::unique_ptr<selection_lists> selection;
    // Every element of every group of the tree, for hover picking.
    std::unique_ptr<selection_lists> all_elements;
    std::vector<std::string> reader_messages;
    // How the drawing's polyline arcs and curves were read, which its
    // element references depend on; and what the reader passed over.
    CurveReading drawing_curves = CurveReading::Chords;
    SkippedEntities skipped_entities;

    // The stored datum and the values its edits hold: the same exact values,
    // which every path is generated from.
    double datum_x = 0;
    double datum_y = 0;
    double datum_edit_x = 0;
    double datum_edit_y = 0;
    bool datum_set = false;
    double billet_edit_l = 0;
    double billet_edit_r = 0;
    bool billet_defined = false;

    Units units = Units::Metric;
    std::string material_file;
    std::string material_name;
    TCycleParams material;
    std::string machine_name;
    std::string post_out_directory;
    std::string last_nc_file;
    bool post_allowed = false;
    // Set while a project is read: what it adds is not a change.
    bool loading = false;

    HeaderNode header;
    std::vector<std::unique_ptr<CycleNode>> cycles;
    FooterNode footer;

    ProjectSettings settings;
    void copy_settings_from(const ProjectModel& other);

    Prompt& prompt() { return *prompt_; }
    double point_tolerance() const { return zeran::point_tolerance(units); }

    // ---- Project ----
    void ClearProject(KeepTree keep = KeepTree::No);
    void SetModified(bool flag) { modified_ = flag; }
    bool IsModified();
    void MarkCycleChanged(CycleNode* node);
    void ClearChangeFlags();
    double DisplayValue(double x) const;
    int cycle_index(const CycleNode* node) const;

    // ---- Import ----
    bool LoadDrawing(const std::string& file_name, CurveReading curves = CurveReading::Chords);
    // Import as the menu command runs it, after the save question was answered.
    bool ImportDxf(const std::string& file_name);
    void ConvertDrawingUnits(Units to);
    // Takes over `from`'s drawing (which is left without one) with a fresh
    // tree, every node checked.
    void AdoptDrawing(ProjectModel& from);
    void BuildDrawingTree(bool reset_states);
    void BuildSelectionLists();
    // A tree node's state box was clicked: the node and everything below it.
    void ToggleTreeNode(int index);
    // A layer's state given to all its descendants, then the tree rebuilt checked.
    void ResetLayerTree(int index);
    // An element picked in the view on the input tab.
    void ToggleElement(const DXF_Entity* element);

    // ---- Profiles ----
    // Adds after the cursor's focus (appends without a cursor, or with none
    // focused), asking before or after when the first row is focused.
    bool AddToProfile(CycleNode& node, DXF_Entity* element, bool ask,
                      PointsCursor* cursor = nullptr);
    // Adds the hovered element alone or, inclusive, with the chain from the
    // list's focused element to it. False when nothing was added.
    bool AddAtCursor(CycleNode& node, PointsCursor& cursor, DXF_Entity* hovered, AddType how);
    std::string DescribeElement(const DXF_Entity& element) const;
    // The lasting name of a drawing element or of a copy made from one.
    ElementId IdOf(const DXF_Entity* element) const;
    // The selection lists' current copy of the element, or null when it is left out.
    DXF_Entity* CopyOf(ElementId id) const;
    // The profile commands act on the cursor's selection and at its focus.
    void DeleteSelectedPoints(CycleNode& node, PointsCursor& cursor);
    // The profile is of a one-element kind and holds its element.
    bool SingleElementFull(const CycleNode& node) const;
    // The add type may be chosen: the profile has a point to add from and
    // room for more.
    bool AddTypeAvailable(const CycleNode& node) const;
    void ClearPoints(CycleNode& node, PointsCursor& cursor);
    void CutPoints(CycleNode& node, PointsCursor& cursor, PointsClipboard& clipboard);
    void CopyPoints(const CycleNode& node, const PointsCursor& cursor,
                    PointsClipboard& clipboard) const;
    void PastePoints(CycleNode& node, PointsCursor& cursor, const PointsClipboard& clipboard);
    void ReverseProfile(CycleNode& node);
    void SetProfileState(CycleNode& node);

    // ---- Cycles ----
    CycleNode& AddCycle(CycleKind kind);
    void DeleteCycle(CycleNode& node);
    bool CanMoveUp(const CycleNode& node) const;
    bool CanMoveDown(const CycleNode& node) const;
    void MoveUp(CycleNode& node);
    void MoveDown(CycleNode& node);
    // Drops `node` before the cycle `before`, or at the end when `before` is null
    // (the footer).
    void DropBefore(CycleNode& node, CycleNode* before);
    void SetComment(CycleNode& node, const std::string& comment);
    void SetToolNumber(CycleNode& node, int number);
    void SetToolFromLibrary(CycleNode& node, int entry);
    void SetToolCaption(CycleNode& node);
    // Width and length typed on the Tool panel; negative sizes are taken as 0.
    void SetToolSize(CycleNode& node, double width, double length);
    TCanCycle& PrepareCycle(CycleNode& node, bool force);
    void ApplyUseBillet(CycleNode& node, bool use_billet);
    void SetBillet(double length, double radius);
    void SetUnits(Units new_units, UnitsQuestion ask);
    bool SelectMaterial();
    void UpdateCyclesFromMaterial();
    void SetStartPoint(CycleNode& node, double x, double z);
    // The values the parameter dialog closed with by OK.
    void SetParameters(CycleNode& node, const TParamControls& values);

    // ---- Path audit ----
    // Checks every enabled, generated cycle in list order against the part
    // outlined by the kept elements and against the stock the cycles before
    // it left (the billet when one is defined, else the part's extents).
    // Fills each Parameters node's report and state; returns the cycles with
    // findings.
    std::vector<CycleFailure> AuditPaths();

    // ---- Datum, billet and start point from the view ----
    // A datum drag pressed at p; `snap_to` as below.
    void BeginDatumDrag(Point3D p, const DXF_Entity* snap_to);
    // `snap_to` is the highlighted element of a Ctrl datum drag, or null. A
    // point snapped to an element, or given outside a drag, is kept exactly;
    // a bare mouse position during a drag is rounded with RoundTo.
    void SetDatumFromPoint(Point3D p, const DXF_Entity* snap_to = nullptr, bool dragging = false);
    // The drag released at p: the datum is placed for good.
    void EndDatumDrag(Point3D p, DatumSnap snap);
    // Datum typed into its edits.
    void SetDatumFromEdits(double x, double y);
    void SetBilletFromPoint(Point3D p);
    void SetStartFromPoint(CycleNode& node, Point3D p);
    Point3D last_datum_point;

    // Set by a profile reversal: the next preparation of any cycle is skipped once.
    bool skip_next_prepare = false;

private:
    void reset_cycle_list();
    void free_drawing();
    void clean_layers();
    // Every path depends on a newly placed datum, and the clipping follows it.
    void datum_placed();
    void update_profiles_with_copy(DXF_Entity* copy, ElementId id, bool unchecked);
    void set_child_states(CycleNode& node);
    // Whether a cycle's XSide and ZSide are to be trusted.
    enum class Sides { Known, Unknown };
    // Puts a use-billet cycle's start point on the billet corner of its side;
    // true when it moved.
    bool set_billet_start(CycleNode& node, Sides sides);
    void on_profile_direction(TCanCycle& cycle);
    void set_caption_from_comment(CycleNode& node);
    void header_billet(double length, double radius);
    void header_units(Units u);

    Prompt* prompt_;
    // Every drawing element's lasting name, built with the tree.
    std::unordered_map<const DXF_Entity*, ElementId> element_ids_;
    bool modified_ = false;
    // The last datum point came from a snap, not from a bare mouse position.
    bool last_datum_snapped_ = false;
};

// The caption a new cycle node gets: "Roughing " before the short name of kinds 0 to 2.
std::string new_cycle_caption(CycleKind kind);

} // namespace zeran
