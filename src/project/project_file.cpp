#include "project/project_file.h"

#include "base/file_io.h"
#include "base/ini_document.h"
#include "base/number_text.h"
#include "base/prompt.h"
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/kind_description.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "dxf/dxf_writer.h"
#include "geometry/dxf_object.h"
#include "geometry/entity.h"
#include "ncout/gnc_writer.h"
#include "ncout/machine_data.h"
#include "project/display_rounding.h"
#include "project/element_lists.h"
#include "project/project_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <optional>
#include <unordered_set>

namespace zeran {

namespace fs = std::filesystem;

std::string file_name_part(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The file itself, or the same name with its extension in capitals.
std::optional<std::string> existing_with_extension(const std::string& base,
                                                   const std::string& ext) {
    for (const std::string& candidate :
         {replace_extension(base, ext), replace_extension(base, upper(ext))})
        if (file_exists(candidate)) return candidate;
    return std::nullopt;
}

// How the drawing was read: its element references resolve only the same way.
constexpr const char* kCurvesSection = "Drawing";
constexpr const char* kCurvesKey = "CurveArcs";

std::string cycle_section(int n) {
    return "Cycle" + std::to_string(n);
}

// The keys every saved cycle of a kind has: its kind, state, tool and
// parameters (the comment, the tool length, the use-billet flag and the newer
// start point came later). The parameters are written last, so a section cut
// short lacks at least its last one; reading it would post a program with
// defaults in their place.
std::string missing_cycle_key(const IniDocument& ini, const std::string& section, CycleKind kind) {
    for (const char* key : {"CycleType", "Checked", "Tool_Number"})
        if (!ini.has_key(section, key)) return key;
    for (const ParamKey& k : param_keys(kind))
        if (!ini.has_key(section, k.key)) return std::string(k.key);
    return {};
}

// The first parameter of the section that no lathe could use, or "".
std::string param_range_problem(const IniDocument& ini, const std::string& section, CycleKind kind,
                                Units units, char separator) {
    for (const ParamKey& k : param_keys(kind)) {
        if (param_value_type(k.field) == ParamValueType::Choice) continue;
        const auto text = ini.get(section, k.key);
        if (!text || trim_blanks(*text).empty()) continue;
        const auto value = parse_real(*text, separator);
        if (!value) continue; // not a number: refused as such
        if (std::string problem = param_value_problem(k.key, k.field, *value, units);
            !problem.empty())
            return problem;
    }
    return {};
}

constexpr const char* kNoseRadiusKey = "Tool_Nose_Radius";
constexpr const char* kOrientationKey = "Tool_Orientation";
// The largest round insert is far below this, in millimetres.
constexpr double kLargestNoseRadius = 50.0;

// Reads keys the way the project file defines them, but remembers the first
// value that is present and not a number, so the read can be refused with a
// message naming it.
class StrictKeys {
public:
    StrictKeys(const IniDocument& ini, char separator) : ini_(ini), separator_(separator) {}

    double real(const std::string& section, const std::string& key, double fallback) {
        const auto text = value(section, key);
        if (!text) return fallback;
        const auto v = parse_real(*text, separator_);
        if (!v || !std::isfinite(*v)) return refuse(section, key, *text, fallback);
        return *v;
    }
    long long integer(const std::string& section, const std::string& key, long long fallback) {
        const auto text = value(section, key);
        if (!text) return fallback;
        const auto v = parse_int(*text);
        if (!v)
            return static_cast<long long>(
                refuse(section, key, *text, static_cast<double>(fallback)));
        return *v;
    }
    bool boolean(const std::string& section, const std::string& key, bool fallback) {
        return integer(section, key, fallback ? 1 : 0) != 0;
    }
    // Every "Param_" key of a section must hold a number.
    void check_numbers(const std::string& section) {
        for (const std::string& key : ini_.key_names(section)) {
            if (key.size() < 6 || !iequals(key.substr(0, 6), "Param_")) continue;
            real(section, key, 0);
        }
    }
    const std::string& error() const { return error_; }
    bool failed() const { return !error_.empty(); }
    void fail(std::string message) {
        if (error_.empty()) error_ = std::move(message);
    }

private:
    std::optional<std::string> value(const std::string& section, const std::string& key) const {
        auto v = ini_.get(section, key);
        // An empty value counts as missing: the key's default applies.
        if (!v || v->find_first_not_of(" \t") == std::string::npos) return std::nullopt;
        return v;
    }
    double refuse(const std::string& section, const std::string& key, const std::string& text,
                  double fallback) {
        fail("[" + section + "] " + key + " = " + quoted_value(text) + " is not a number.");
        return fallback;
    }

    const IniDocument& ini_;
    char separator_;
    std::string error_;
};

// Reads the tool's nose; a radius no insert has or an orientation outside the
// nine positions would cut a wrong path, so the file is refused instead.
std::string read_tool_nose(StrictKeys& keys, const std::string& section, Units units,
                           TToolControl& tool) {
    const double radius = keys.real(section, kNoseRadiusKey, 0);
    const long long orientation = keys.integer(section, kOrientationKey, 0);
    if (keys.failed()) return {}; // the caller reports the value that is not a number
    const double largest =
        units == Units::Inch ? kLargestNoseRadius / kMillimetresPerInch : kLargestNoseRadius;
    if (!(radius >= 0 && radius <= largest))
        return std::string(kNoseRadiusKey) + " = " + general_text(radius) + " is outside 0 to " +
               general_text(largest, '.', 6) + " " + std::string(unit_text(units)) + ".";
    if (orientation < 0 || orientation > 9)
        return std::string(kOrientationKey) + " = " + std::to_string(orientation) +
               " is not a tool orientation (0 to 9).";
    tool.NoseRadius = radius;
    tool.NoseOrientation = static_cast<std::int32_t>(orientation);
    return {};
}

// The compensation choice must be one of the three; other kinds ignore the key.
std::string compensation_problem(StrictKeys& keys, const std::string& section, CycleKind kind) {
    if (!takes_nose_compensation(kind)) return {};
    const long long choice = keys.integer(section, std::string(kCompensationKey), 0);
    if (keys.failed()) return {}; // the caller reports the value that is not a number
    if (choice < 0 || choice > 2)
        return std::string(kCompensationKey) + " = " + std::to_string(choice) +
               " is not a compensation (0 none, 1 in program, 2 in control).";
    return {};
}

} // namespace

std::string MakeEntityRef(const ProjectModel& model, const DXF_Entity* element) {
    const auto [group, position] = locate_element(model.selection.get(), element);
    if (group < 0) return {};
    return "0_" + std::to_string(group) + "_" + std::to_string(position);
}

DXF_Entity* ResolveEntityRef(const ProjectModel& model, const std::string& ref) {
    const std::size_t first = ref.find('_');
    if (first == std::string::npos) return nullptr;
    const std::string rest = ref.substr(first + 1);
    const std::size_t second = rest.find('_');
    if (second == std::string::npos) return nullptr;
    const auto group = parse_int(rest.substr(0, second));
    const auto position = parse_int(rest.substr(second + 1));
    if (!group || !position) return nullptr;
    if (*group < 0 || *group > 1'000'000 || *position < 0 || *position > 100'000'000)
        return nullptr;
    return element_at(model.selection.get(), static_cast<int>(*group), static_cast<int>(*position));
}

namespace {

// What the project file holds, under the name `file_name`; the model stays as it is.
IniDocument project_ini(const ProjectModel& model, const std::string& file_name, char separator) {
    IniDocument ini;
    ini.write("DXF", "TDXFilename", replace_extension(file_name, "tdx"));
    // Its absence means the old reading, so projects from before resolve as they did.
    if (model.drawing && model.drawing_curves == CurveReading::Arcs)
        ini.write_int(kCurvesSection, kCurvesKey, 1);
    // A datum that was never placed is stored as not set, so that it reads back unset.
    ini.write_real("DXF", "Datun_x", model.datum_set ? model.datum_x : kNotSet, separator);
    ini.write_real("DXF", "Datun_y", model.datum_set ? model.datum_y : kNotSet, separator);
    // Listing the tree's nodes needs a mutable tree; nothing in it is changed.
    const std::vector<DrawingNode*> nodes = tree_nodes(const_cast<DrawingTree&>(model.tree));
    const std::vector<std::string> keys = tree_keys(nodes);
    for (std::size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i]->state_index == kStateChecked)
            ini.write_int("DXF", upper(keys[i]), static_cast<long long>(i));

    if (!iequals(model.material_file, model.settings.default_material_file))
        ini.write("Material", "File", model.material_file);
    ini.write("Material", "Name", model.material_name);
    ini.write("Machine", "Name", model.machine_name);
    ini.write("Machine", "Post Out Directory", model.post_out_directory);

    const THeader& header = *model.header.header;
    ini.write("Header", "Project", file_name_part(file_name));
    ini.write_real("Header", "Date", header.Date, separator);
    ini.write("Header", "Author",
              header.Author.empty() ? model.settings.default_author : header.Author);
    ini.write_bool("Header", "Metric", header.Units == 0);
    ini.write_real("Header", "BilletX", header.BilletLength, separator);
    ini.write_real("Header", "BilletZ", header.BilletRadius, separator);

    int n = 0;
    for (const auto& node : model.cycles) {
        const std::string section = cycle_section(++n);
        ini.write_int(section, "CycleType", cycle_kind_number(node->kind()));
        ini.write_bool(section, "Checked", node->state_index == kStateChecked);
        ini.write(section, "Comment", node->cycle->Comment);
        int i = 0;
        for (const ProfileItem& item : node->points.items) {
            const std::string ref = MakeEntityRef(model, item.element);
            // An element that has left the selection lists cannot be referred to;
            // an empty reference would end the profile when read back.
            if (ref.empty()) continue;
            ini.write(section, "Entity_" + std::to_string(i++), ref);
        }
        ini.write_int(section, "Tool_Number", node->tool->ToolNumber);
        ini.write_real(section, "Tool_Width", node->tool->ToolWidth, separator);
        ini.write_real(section, "Tool_Length", node->tool->ToolLength, separator);
        // Written only for a nose, so that files of sharp tools keep their bytes.
        if (node->tool->NoseRadius != 0)
            ini.write_real(section, kNoseRadiusKey, node->tool->NoseRadius, separator);
        if (node->tool->NoseOrientation != 0)
            ini.write_int(section, kOrientationKey, node->tool->NoseOrientation);
        ini.write_real(section, "Param_StartPosX", node->params->StartX, separator);
        ini.write_real(section, "Param_StartPosZ", node->params->StartZ, separator);
        ini.write_bool(section, "Param_UseBillet", node->params->UseBillet);
        std::vector<std::string> lines;
        node->params->WriteKeys(lines, separator);
        for (const std::string& line : lines) {
            const std::size_t comma = line.find(',');
            if (comma == std::string::npos) continue;
            ini.write(section, line.substr(0, comma), line.substr(comma + 1));
        }
    }
    return ini;
}

} // namespace

std::string ProjectText(const ProjectModel& model) {
    return project_ini(model, std::string(), '.').text();
}

void WriteProjectFile(ProjectModel& model, const std::string& file_name, char separator) {
    const std::string tdx = replace_extension(file_name, "tdx");
    model.tdx_file_name = tdx;
    if (model.drawing) {
        try {
            write_dxf_file(*model.drawing, tdx);
        } catch (const std::exception& e) {
            throw ProjectFileError("Unable to write the drawing " + tdx + ": " + e.what());
        }
    }
    THeader& header = *model.header.header;
    if (header.Author.empty()) header.Author = model.settings.default_author;
    const IniDocument ini = project_ini(model, file_name, separator);
    std::string error;
    if (!ini.save(file_name, &error))
        throw ProjectFileError("Unable to write " + file_name + ": " + error);
    model.project_folder = folder_of(file_name);
    model.ClearChangeFlags();
}

namespace {

// Loads the drawing the project names into `fresh`; returns "" or the reason for refusing.
std::string read_drawing(ProjectModel& fresh, StrictKeys& keys, const std::string& file_name,
                         const ProjectReadOptions& options) {
    const std::string tdx = replace_extension(file_name, "tdx");
    std::string drawing_path;
    bool from_dxf = false;
    if (auto found = existing_with_extension(file_name, "tdx")) {
        drawing_path = *found;
    } else if (auto dxf = existing_with_extension(file_name, "dxf")) {
        drawing_path = *dxf;
        from_dxf = true;
    } else {
        return "Unable to find TDX file " + tdx + ".";
    }
    const CurveReading curves = keys.integer(kCurvesSection, kCurvesKey, 0) == 1
                                    ? CurveReading::Arcs
                                    : CurveReading::Chords;
    if (keys.failed()) return keys.error();
    try {
        if (!fresh.LoadDrawing(drawing_path, curves))
            return "The drawing " + drawing_path + " holds no elements.";
    } catch (const std::exception& e) {
        return "Unable to read the drawing " + drawing_path + ": " + e.what();
    }
    if (from_dxf && options.write_missing_tdx) {
        // Without the .tdx the project still opens from its drawing.
        try {
            write_dxf_file(*fresh.drawing, tdx);
            fresh.tdx_file_name = tdx;
        } catch (const std::exception&) {
        }
    }
    return {};
}

// Reads all but the drawing into `fresh`, which holds the drawing already;
// returns "" or the reason for refusing.
std::string read_document(ProjectModel& fresh, const IniDocument& ini, StrictKeys& keys,
                          const std::string& file_name, const ProjectReadOptions& options) {
    const double dx = keys.real("DXF", "Datun_x", kNotSet);
    const double dy = keys.real("DXF", "Datun_y", kNotSet);
    if (!is_not_set(dx) && !is_not_set(dy)) {
        fresh.datum_x = dx;
        fresh.datum_y = dy;
        fresh.datum_edit_x = dx;
        fresh.datum_edit_y = dy;
        fresh.datum_set = true;
    } else {
        fresh.datum_edit_x = fresh.datum_edit_y = 0;
        fresh.datum_set = false;
    }

    const std::vector<DrawingNode*> nodes = tree_nodes(fresh.tree);
    const std::vector<std::string> names = tree_keys(nodes);
    const auto count = static_cast<long long>(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        DrawingNode& node = *nodes[i];
        const long long v = keys.integer("DXF", names[i], -1);
        if (node.level > 0) node.state_index = kStateUnchecked;
        if (v != -1) {
            if (v < 0 || v >= count)
                return "The drawing tree entry \"" + names[i] + "\" names node " +
                       std::to_string(v) + ", but the drawing tree has " + std::to_string(count) +
                       " nodes.";
            DrawingNode& target = *nodes[static_cast<std::size_t>(v)];
            if (target.level > 0) target.state_index = kStateChecked;
        }
        node.user_unchecked = node.state_index == kStateUnchecked;
    }
    if (keys.failed()) return keys.error();

    const bool metric = keys.boolean("Header", "Metric", true);
    fresh.header.header->Units = metric ? 0 : 1;
    fresh.SetUnits(metric ? Units::Metric : Units::Inch, UnitsQuestion::DontAsk);
    fresh.BuildSelectionLists();

    THeader& header = *fresh.header.header;
    header.ProjectName = file_name_part(file_name);
    header.Date = keys.real("Header", "Date", header.Date);
    header.Author = ini.read_string("Header", "Author");
    if (header.Author.empty()) header.Author = fresh.settings.default_author;
    fresh.billet_edit_l = keys.real("Header", "BilletX", 0);
    fresh.billet_edit_r = keys.real("Header", "BilletZ", 0);
    header.BilletLength = fresh.billet_edit_l;
    header.BilletRadius = fresh.billet_edit_r;
    fresh.billet_defined = fresh.billet_edit_l != 0 && fresh.billet_edit_r != 0;
    if (keys.failed()) return keys.error();

    // A relative material file lies beside the project, so a project and its
    // materials can move together.
    const std::string material_file =
        resolve_in(folder_of(file_name), ini.read_string("Material", "File"));
    const bool material_missing = !material_file.empty() && !file_exists(material_file);
    if (!material_file.empty() && !material_missing) fresh.material_file = material_file;
    fresh.material_name = ini.read_string("Material", "Name");
    fresh.machine_name = ini.read_string("Machine", "Name");
    fresh.post_out_directory = ini.read_string("Machine", "Post Out Directory");
    bool located_elsewhere = false;
    if (fresh.settings.load_material && !fresh.material_name.empty()) {
        if (material_missing) {
            // Asked for (and told about) as the project names it, not as the
            // default file that would otherwise stand in for it.
            std::string wanted = material_file;
            const int result =
                fresh.settings.load_material(wanted, fresh.material_name, fresh.material);
            if (result != 1) fresh.material_file = wanted;
            located_elsewhere = result == 2;
        } else {
            located_elsewhere = fresh.settings.load_material(
                                    fresh.material_file, fresh.material_name, fresh.material) == 2;
        }
    }

    for (int n = 1;; ++n) {
        const std::string section = cycle_section(n);
        const long long number = keys.integer(section, "CycleType", -1);
        if (keys.failed()) return keys.error();
        if (number == -1) {
            // The list ends at the first number with no section; a section
            // without its kind was cut short.
            if (ini.has_section(section))
                return "[" + section +
                       "] has no CycleType: the project file is incomplete or "
                       "damaged.";
            break;
        }
        const std::optional<CycleKind> kind = cycle_kind_from_number(number);
        if (!kind)
            return "[" + section + "] CycleType = " + std::to_string(number) +
                   " is not a cycle kind (0 to 7).";
        keys.check_numbers(section);
        if (keys.failed()) return keys.error();
        const std::string named = "[" + section + "] (" + std::string(cycle_long_name(*kind)) + ")";
        if (const std::string key = missing_cycle_key(ini, section, *kind); !key.empty())
            return named + " has no " + key + ": the project file is incomplete or damaged.";
        if (const std::string problem =
                param_range_problem(ini, section, *kind, fresh.units, options.separator);
            !problem.empty())
            return named + ": " + problem + ".";
        if (const std::string problem = compensation_problem(keys, section, *kind);
            !problem.empty())
            return named + ": " + problem;
        if (keys.failed()) return keys.error();

        CycleNode& node = fresh.AddCycle(*kind);
        node.state_index = keys.boolean(section, "Checked", true) ? kStateChecked : kStateUnchecked;
        fresh.SetComment(node, ini.read_string(section, "Comment"));
        // A set beside the list keeps long profiles linear to read.
        std::unordered_set<const DXF_Entity*> in_profile;
        for (int i = 0;; ++i) {
            const std::string key = "Entity_" + std::to_string(i);
            const std::string ref = ini.read_string(section, key);
            if (ref.empty()) break;
            DXF_Entity* element = ResolveEntityRef(fresh, ref);
            if (!element)
                return "[" + section + "] " + key + " = " + quoted_value(ref) +
                       " names no element of the drawing's selection lists (" +
                       std::to_string(fresh.selection ? fresh.selection->count() : 0) + " groups).";
            if (in_profile.insert(element).second) {
                node.points.items.push_back(
                    ProfileItem{fresh.DescribeElement(*element), fresh.IdOf(element), element});
            }
        }
        fresh.SetProfileState(node);
        const long long tool = keys.integer(section, "Tool_Number", 1);
        node.tool->ToolNumber =
            static_cast<std::int32_t>(std::clamp<long long>(tool, 1, 1'000'000));
        fresh.SetToolCaption(node);
        node.tool->ToolWidth = keys.real(section, "Tool_Width", 0);
        node.tool->ToolLength = keys.real(section, "Tool_Length", 0);
        if (const std::string problem = read_tool_nose(keys, section, fresh.units, *node.tool);
            !problem.empty())
            return named + ": " + problem;
        if (keys.failed()) return keys.error();
        node.tool_node.state_index = node.tool->ToolWidth > 0 ? kStateComplete : kStateIncomplete;

        const double old_y = keys.real(section, "Param_StartPosY", kNotSet);
        if (!is_not_set(old_y)) {
            node.params->StartX = old_y - fresh.datum_edit_y;
            const double old_x = keys.real(section, "Param_StartPosX", kNotSet);
            node.params->StartZ = is_not_set(old_x) ? 0 : old_x - fresh.datum_edit_x;
        } else {
            node.params->StartX = keys.real(section, "Param_StartPosX", 0);
            node.params->StartZ = keys.real(section, "Param_StartPosZ", 0);
        }
        node.params->UseBillet = keys.boolean(section, "Param_UseBillet", false);
        if (keys.failed()) return keys.error();
        // The keys hold lengths in the project's unit.
        TCycleParams units_only;
        units_only.Units = stored_units(fresh.units);
        node.params->LoadRecord(units_only);
        node.params->ReadKeys(ini, section, options.separator);

        fresh.PrepareCycle(node, true);
        if (fresh.skip_next_prepare) {
            // The profile ran towards the start point and was turned round: generate it the other
            // way.
            fresh.skip_next_prepare = false;
            fresh.PrepareCycle(node, true);
            fresh.skip_next_prepare = false;
        }
        node.params_node.state_index =
            kStateIncomplete + ((node.params->Valid && node.params->ProfileChecked) ? 1 : 0);
        node.cycle->NeedsGenerate = false;
    }

    fresh.project_folder = folder_of(file_name);
    fresh.project_file_name = file_name;
    fresh.loading = false;
    fresh.ClearChangeFlags();
    if (located_elsewhere) fresh.SetModified(true);
    return {};
}

// Reads everything into `fresh`; returns "" or the reason for refusing.
std::string read_into(ProjectModel& fresh, const IniDocument& ini, const std::string& file_name,
                      const ProjectReadOptions& options) {
    StrictKeys keys(ini, options.separator);
    fresh.loading = true;
    fresh.tdx_file_name = replace_extension(file_name, "tdx");
    if (std::string reason = read_drawing(fresh, keys, file_name, options); !reason.empty())
        return reason;
    return read_document(fresh, ini, keys, file_name, options);
}

} // namespace

bool ReadProjectFile(ProjectModel& model, const std::string& file_name,
                     const ProjectReadOptions& options, std::string* error) {
    std::string reason;
    std::string load_error;
    const auto text = read_file(file_name, &load_error);
    ProjectModel fresh(model.prompt());
    fresh.copy_settings_from(model);
    if (!text) {
        reason = load_error.empty() ? "Unable to read " + file_name + "." : load_error;
    } else if (!text->empty() && text->back() != '\n') {
        // Every line the program writes ends; a last line that does not was cut.
        reason = "The file ends in the middle of a line: it is incomplete or damaged.";
    } else {
        const IniDocument ini = IniDocument::parse(*text);
        try {
            reason = read_into(fresh, ini, file_name, options);
        } catch (const std::exception& e) {
            reason = e.what();
        }
    }
    if (!reason.empty()) {
        const std::string message = "Unable to load project " + file_name + ".\r\r" + reason;
        if (options.tell_prompt) model.prompt().tell(MessageKind::Error, message);
        if (error) *error = message;
        return false;
    }
    model.swap_state(fresh);
    return true;
}

bool RestoreProjectText(ProjectModel& model, const std::string& text, std::string* error) {
    ProjectModel fresh(model.prompt());
    fresh.copy_settings_from(model);
    // The material record comes with the document, not from the database again.
    fresh.settings.load_material = nullptr;
    fresh.loading = true;
    fresh.AdoptDrawing(model);
    const IniDocument ini = IniDocument::parse(text);
    StrictKeys keys(ini, '.');
    std::string reason;
    try {
        reason = read_document(fresh, ini, keys, model.project_file_name, ProjectReadOptions{});
    } catch (const std::exception& e) {
        reason = e.what();
    }
    if (!reason.empty()) {
        // The drawing goes back; the tree states are the model's own, untouched.
        model.drawing = std::move(fresh.drawing);
        if (error) *error = reason;
        return false;
    }
    fresh.project_file_name = model.project_file_name;
    fresh.project_folder = model.project_folder;
    fresh.last_nc_file = model.last_nc_file;
    model.swap_state(fresh);
    return true;
}

} // namespace zeran
