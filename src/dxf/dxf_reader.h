#pragma once
// DXF_Reader: turns an ASCII DXF file into layers of drawing entities and the
// drawing extents. Sections, tables and entity types it does not read are
// named in the caller's skipped list; errors in single entities go to the
// prompt (OK goes on, Cancel stops), and reading always ends with whatever
// was read so far.
#include "dxf/abstract_entity.h"
#include "dxf/curve_reading.h"
#include "dxf/dxf_group_reader.h"
#include "geometry/dxf_object.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zeran {

class Block_;
class DXF_Entity;
class Progress;
class Prompt;

// The extrusion direction of groups 210/220/230 made length 1; throws
// std::domain_error for one of zero length.
Point3D unit_extrusion(const Point3D& e);

class DXF_Reader {
public:
    // Opens the file; one that cannot be read throws std::system_error.
    DXF_Reader(const std::string& file_name, Prompt& prompt, Progress& progress);
    DXF_Reader(std::unique_ptr<ByteSource> source, Prompt& prompt, Progress& progress);
    ~DXF_Reader();
    DXF_Reader(const DXF_Reader&) = delete;
    DXF_Reader& operator=(const DXF_Reader&) = delete;

    void set_skipped_list(std::vector<std::string>* list) { skipped_ = list; }
    // Entities of a kind the reader reads that it could not read (and left
    // out) are named here, one entry each.
    void set_lost_list(std::vector<std::string>* list) { lost_ = list; }
    void set_curve_reading(CurveReading how) { curve_reading_ = how; }
    // Entity types passed over in BLOCKS and ENTITIES, with their counts.
    const SkippedEntities& skipped_entities() const { return skipped_entities_; }
    // How far the arcs made of a curve may stray from it, in drawing units:
    // 0.001 mm in the unit the header names ($INSUNITS, else $MEASUREMENT),
    // the inch value when it names none, which keeps within 0.001 mm
    // whichever unit the drawing turns out to be in.
    double curve_tolerance() const;
    // Reads the whole file; always true, what was read stays readable.
    bool read_file();

    // Empty unless an error ended the reading early (its message).
    const std::string& stop_message() const { return stop_message_; }

    Point3D header_max() const { return ext_max_; }
    Point3D header_min() const { return ext_min_; }
    // The reader no longer owns the layers afterwards.
    LayerList take_layers();

    static constexpr std::string_view kBusyMessage = "Reading DXF file...";
    static constexpr std::string_view kNoEntities =
        "No Entities or invalid Entities section in DXF file";
    static constexpr std::string_view kUndefinedBlock =
        "Cannot reference an undefined BLOCK\r\n\r\n(File may not have been saved with BLOCKs)\r\n";
    static constexpr int kMaxPolyfaceFaces = 4096;
    // Blocks placed inside blocks deeper than this are refused, so that
    // drawing or exploding an insertion stays bounded.
    static constexpr int kMaxBlockNesting = 64;
    static constexpr long long kMaxExpandedInserts = 100000;
    // The most pieces one curve or polyline becomes, and the most control
    // points, fit points and knots a spline may have.
    static constexpr std::size_t kMaxCurvePieces = 16384;
    static constexpr std::size_t kMaxSplinePoints = 8192;

private:
    enum class Kind {
        Point,
        Line,
        Circle,
        Arc,
        Text,
        Attrib,
        Attdef,
        Face3D,
        Solid,
        Insert,
        Polyline,
        LwPolyline,
        Spline,
        Ellipse,
        Other
    };
    Kind kind_of(std::string_view type) const;

    // Sections.
    bool find_section(std::string_view name);
    bool read_header();
    bool read_tables();
    bool read_layer_table();
    bool read_vport_table();
    bool pass_table();
    bool read_blocks();
    bool read_block_definition();
    bool read_entities();
    void grow_extents_from_entities();
    void skip(std::string_view name);
    void lose(std::string_view type);
    // Ends the reading with a message box.
    void stop(const std::string& message);

    // Entities.
    // Reads the groups of one entity into `e` up to the next code 0 (left
    // for the caller); false when the file ends first. The entity's layer is
    // looked up or made, except for vertices: they belong to their polyline,
    // and files written without layer groups on vertices would otherwise
    // gain an empty layer on every reading.
    enum class OwnLayer { Yes, No };
    bool collect(abstract_entity& e, OwnLayer own_layer = OwnLayer::Yes);
    void store(abstract_entity& e, int code);
    DXF_Layer* layer_named(std::string_view name);
    DXF_Layer* append_layer(std::string_view name);
    // The entities of a type (none, one, or the pieces of a curve), made from
    // the groups that follow and appended to `made`. `layer` receives the
    // layer they belong on.
    using Made = std::vector<std::unique_ptr<DXF_Entity>>;
    void read_entity(Kind kind, DXF_Layer*& layer, Made& made);
    void skip_entity(std::string_view type);
    std::unique_ptr<DXF_Entity> read_simple(Kind kind, DXF_Layer*& layer);
    std::unique_ptr<DXF_Entity> read_insert(DXF_Layer*& layer);
    std::unique_ptr<DXF_Entity> read_polyline(DXF_Layer*& layer, Made& made);

    // The curves of newer drawings (dxf_curve_reader.cpp).
    struct CurveGroups;
    enum class Direction { Needed, Ignored };
    bool collect_curve(CurveGroups& g, Direction direction = Direction::Needed);
    void read_lwpolyline(DXF_Layer*& layer, Made& made);
    void read_spline(DXF_Layer*& layer, Made& made);
    void read_ellipse(DXF_Layer*& layer, Made& made);
    // Header variables that name the drawing's unit.
    bool read_unit_variable(int& value);
    const Entity_List* block_list() const;
    [[noreturn]] void fail(std::string_view type) const;

    DXF_GroupReader groups_;
    Prompt& prompt_;
    Progress& progress_;
    LayerList layers_;
    std::unordered_map<std::string, DXF_Layer*> layer_index_;
    DXF_Layer* last_layer_ = nullptr;
    Point3D ext_min_ = ORIGIN;
    Point3D ext_max_ = ORIGIN;
    std::vector<std::string>* skipped_ = nullptr;
    std::vector<std::string>* lost_ = nullptr;
    SkippedEntities skipped_entities_;
    CurveReading curve_reading_ = CurveReading::Arcs;
    int insunits_ = -1;    // $INSUNITS, -1 when absent
    int measurement_ = -1; // $MEASUREMENT, -1 when absent
    std::string stop_message_;
    abstract_entity collector_;

    // The block whose entities are being read, and for each block how deeply
    // it nests others and how many insertions it expands to.
    struct BlockCost {
        int depth = 0;
        long long inserts = 0;
    };
    Block_* current_block_ = nullptr;
    std::unordered_map<const Block_*, BlockCost> block_cost_;

    // Sections seen by a search that ran to the end of the file: a later
    // search from beyond `scanned_from_` for a name not among them fails
    // without reading the file again.
    struct SeenSection {
        std::uint64_t offset;
        std::string name;
    };
    std::vector<SeenSection> seen_sections_;
    std::uint64_t scanned_from_ = UINT64_MAX;
};

} // namespace zeran
