// zeran --info DRAWING: what the reader finds in a drawing, as JSON.
#include "app/batch.h"
#include "app/batch_json.h"
#include "app/batch_prompt.h"
#include "base/progress.h"
#include "dxf/dxf_object_reader.h"

#include <algorithm>
#include <ostream>
#include <system_error>

namespace zeran {

namespace {

std::string point_json(const Point3D& p) {
    return "[" + json_number(p.x) + ", " + json_number(p.y) + ", " + json_number(p.z) + "]";
}

std::string counts_json(const SkippedEntities& counts) {
    std::string s = "{";
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (i) s += ", ";
        s += json_string(counts[i].first) + ": " + std::to_string(counts[i].second);
    }
    return s + "}";
}

} // namespace

std::vector<std::pair<std::string, long long>> name_counts(const std::vector<std::string>& names) {
    std::vector<std::pair<std::string, long long>> counts;
    for (const std::string& n : names) {
        auto it =
            std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == n; });
        if (it == counts.end())
            counts.emplace_back(n, 1);
        else
            ++it->second;
    }
    return counts;
}

std::string drawing_json(const DXF_Object& drawing, const std::vector<std::string>& skipped,
                         const SkippedEntities& skipped_entities) {
    std::string s = "{\"file\": " + json_string(drawing.name) + ", \"layers\": [";
    bool first_layer = true;
    for (const auto& layer : drawing.layers()) {
        if (!first_layer) s += ", ";
        first_layer = false;
        s += "{\"name\": " + json_string(layer->name) +
             ", \"colour\": " + std::to_string(layer->colour) + ", \"entities\": {";
        bool first_list = true;
        for (const auto& list : layer->entity_lists()) {
            if (!first_list) s += ", ";
            first_list = false;
            s += json_string(list->name()) + ": " + std::to_string(list->count());
        }
        s += "}}";
    }
    s += "], \"extmin\": " + point_json(drawing.min_extent()) +
         ", \"extmax\": " + point_json(drawing.max_extent()) +
         ", \"skipped\": " + counts_json(skipped_entities) +
         ", \"skipped_other\": " + counts_json(name_counts(skipped)) + "}";
    return s;
}

int batch_info(const std::vector<std::string>& args, BatchIo& io) {
    BatchArguments a;
    if (!split_arguments(args, {}, a, io)) return static_cast<int>(ExitCode::BadUsage);
    if (a.plain.size() != 1) {
        report_error(io, "--info takes one drawing (see --help)");
        return static_cast<int>(ExitCode::BadUsage);
    }
    BatchPrompt prompt(io.err);
    NullProgress progress;
    std::vector<std::string> skipped;
    DxfReadReport report;
    std::unique_ptr<DXF_Object> drawing;
    try {
        drawing =
            read_dxf_object(a.plain[0], CurveReading::Arcs, &skipped, prompt, progress, report);
    } catch (const std::system_error& e) {
        report_error(io, e.what());
        return static_cast<int>(ExitCode::BadInput);
    }
    // The reader has said why on standard error already.
    if (!report.stop_message.empty()) return static_cast<int>(ExitCode::BadInput);
    // Entity types go under "skipped"; sections, tables and other names passed over under
    // "skipped_other".
    std::vector<std::string> other;
    for (std::string& name : skipped)
        if (std::none_of(report.skipped_entities.begin(), report.skipped_entities.end(),
                         [&](const auto& c) { return c.first == name; }))
            other.push_back(std::move(name));
    io.out << drawing_json(*drawing, other, report.skipped_entities) << '\n';
    return static_cast<int>(ExitCode::Success);
}

} // namespace zeran
