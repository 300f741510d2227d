#pragma once
// Reading DXF text from memory in tests, written as "code value" lines.
#include "base/progress.h"
#include "dxf/byte_source.h"
#include "dxf/dxf_reader.h"
#include "support/test_doubles.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zeran::test {

// "0 LINE\n8 A\n10 1" to the DXF lines "0", "LINE", "8", "A", "10", "1".
inline std::string dxf_text(std::string_view pairs, std::string_view eol = "\n") {
    std::string out;
    std::size_t start = 0;
    while (start < pairs.size()) {
        std::size_t end = pairs.find('\n', start);
        if (end == std::string_view::npos) end = pairs.size();
        const std::string_view line = pairs.substr(start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        const std::size_t blank = line.find(' ');
        out.append(line.substr(0, blank)).append(eol);
        if (blank != std::string_view::npos) out.append(line.substr(blank + 1));
        out.append(eol);
    }
    return out;
}

inline std::string entities_section(std::string_view pairs) {
    return dxf_text("0 SECTION\n2 ENTITIES\n") + dxf_text(pairs) + dxf_text("0 ENDSEC\n0 EOF\n");
}

// Records what the reader tells the busy box.
struct RecordingProgress : Progress {
    long long max = -1;
    long long position = 0;
    std::vector<std::string> events;
    void progress(long long m, long long p) override {
        if (m >= 0) max = m;
        position = p;
    }
    void show_busy(const std::string& message) override { events.push_back("show " + message); }
    void hide_busy() override { events.push_back("hide"); }
};

struct ReadDrawing {
    LayerList layers;
    Point3D min, max;
    std::vector<std::string> skipped;
    SkippedEntities skipped_entities;
    double curve_tolerance = 0.0;
    std::string stop_message;

    const DXF_Layer* layer(std::string_view name) const {
        for (const auto& l : layers)
            if (l->name == name) return l.get();
        return nullptr;
    }
    // Entities in the list of that class on that layer (0 when none).
    int count(std::string_view layer_name, std::string_view list) const {
        const DXF_Layer* l = layer(layer_name);
        const Entity_List* e = l ? l->find_list(list) : nullptr;
        return e ? e->count() : 0;
    }
    const DXF_Entity* first(std::string_view layer_name, std::string_view list) const {
        const DXF_Layer* l = layer(layer_name);
        const Entity_List* e = l ? l->find_list(list) : nullptr;
        return e && e->count() ? (*e)[0] : nullptr;
    }
};

inline ReadDrawing read_dxf(const std::string& text, ScriptedPrompt& prompt,
                            Progress* progress = nullptr,
                            CurveReading curves = CurveReading::Arcs) {
    NullProgress none;
    DXF_Reader reader(std::make_unique<MemoryByteSource>(text), prompt,
                      progress ? *progress : none);
    ReadDrawing d;
    reader.set_skipped_list(&d.skipped);
    reader.set_curve_reading(curves);
    reader.read_file();
    d.stop_message = reader.stop_message();
    d.skipped_entities = reader.skipped_entities();
    d.curve_tolerance = reader.curve_tolerance();
    d.min = reader.header_min();
    d.max = reader.header_max();
    d.layers = reader.take_layers();
    return d;
}

} // namespace zeran::test
