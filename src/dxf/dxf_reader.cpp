#include "dxf/dxf_reader.h"

#include "base/progress.h"
#include "base/prompt.h"
#include "base/text_util.h"
#include "base/tolerances.h"
#include "dxf/dxf_read_exception.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace zeran {

DXF_Reader::DXF_Reader(const std::string& file_name, Prompt& prompt, Progress& progress)
    : DXF_Reader(std::make_unique<FileByteSource>(file_name), prompt, progress) {}

DXF_Reader::DXF_Reader(std::unique_ptr<ByteSource> source, Prompt& prompt, Progress& progress)
    : groups_(std::move(source), &progress), prompt_(prompt), progress_(progress) {}

DXF_Reader::~DXF_Reader() = default;

LayerList DXF_Reader::take_layers() {
    layer_index_.clear();
    last_layer_ = nullptr;
    return std::move(layers_);
}

void DXF_Reader::skip(std::string_view name) {
    if (skipped_) skipped_->emplace_back(name);
}

void DXF_Reader::lose(std::string_view type) {
    if (lost_) lost_->emplace_back(type);
}

bool DXF_Reader::read_file() {
    // One optional section: on failure the file goes back to where the search
    // began, and what the failed search passed over is not reported as skipped.
    const auto optional_section = [this](std::string_view name, bool (DXF_Reader::*read)()) {
        const DXF_GroupReader::Mark mark = groups_.mark();
        const std::size_t skipped_before = skipped_ ? skipped_->size() : 0;
        if (find_section(name) && (this->*read)()) return;
        groups_.go_back(mark);
        if (skipped_) skipped_->resize(skipped_before);
    };
    try {
        optional_section("HEADER", &DXF_Reader::read_header);
        optional_section("TABLES", &DXF_Reader::read_tables);
        optional_section("BLOCKS", &DXF_Reader::read_blocks);
        scanned_from_ = UINT64_MAX; // the entities search always reads
        if (!find_section("ENTITIES") || !read_entities())
            throw DXF_read_exception(std::string(kNoEntities), -1);
    } catch (const DXF_read_exception& e) {
        // A file that breaks the reader's bounds ends every search with no
        // group; its own message says why.
        stop(groups_.fault() ? groups_.fault_message() : e.what());
    } catch (const std::bad_alloc&) {
        stop("Out of memory while reading the DXF file");
    } catch (const std::exception& e) {
        // Whatever else went wrong (inside a block definition, say) ends the
        // reading the same way: the user keeps what was read.
        stop(e.what());
    }
    grow_extents_from_entities();
    return true;
}

void DXF_Reader::stop(const std::string& message) {
    stop_message_ = message;
    progress_.hide_busy();
    prompt_.tell(MessageKind::Error, message);
}

void DXF_Reader::grow_extents_from_entities() {
    if (!(ext_min_ == ORIGIN) && !(ext_max_ == ORIGIN)) return;
    for (const auto& layer : layers_) layer->grow_extents(ext_max_, ext_min_);
}

bool DXF_Reader::find_section(std::string_view name) {
    const std::uint64_t start = groups_.mark().offset;
    if (start >= scanned_from_) {
        bool ahead = false;
        for (const SeenSection& s : seen_sections_)
            if (s.offset > start && s.name == name) ahead = true;
        if (!ahead) return false;
    }
    for (;;) {
        const int code = groups_.next();
        if (code < 0) break;
        if (code != 0) continue;
        if (!groups_.value_is("SECTION")) {
            skip(groups_.value());
            continue;
        }
        const int name_code = groups_.next();
        if (name_code < 0) break;
        if (name_code != 2) {
            skip(groups_.value());
            continue;
        }
        if (start < scanned_from_)
            seen_sections_.push_back({groups_.mark().offset, std::string(groups_.value())});
        if (groups_.value_is(name)) return true;
    }
    scanned_from_ = std::min(scanned_from_, start);
    return false;
}

bool DXF_Reader::read_header() {
    for (;;) {
        int code = groups_.next();
        if (code < 0) return false;
        if (code == 0 && groups_.value_is("ENDSEC")) return true;
        if (code != 9) continue;
        const bool is_max = groups_.value_is("$EXTMAX");
        if (is_max || groups_.value_is("$EXTMIN")) {
            do {
                code = groups_.next();
                if (code < 0) return false;
            } while (code != 10);
            Point3D p{groups_.real(), 0.0, 0.0};
            if (groups_.next() < 0) return false;
            p.y = groups_.real();
            (is_max ? ext_max_ : ext_min_) = p;
        } else if (groups_.value_is("$CECOLOR")) {
            if (groups_.next() < 0) return false;
        } else if (groups_.value_is("$INSUNITS")) {
            if (!read_unit_variable(insunits_)) return false;
        } else if (groups_.value_is("$MEASUREMENT")) {
            if (!read_unit_variable(measurement_)) return false;
        }
    }
}

// The variable's code-70 value; a value that is not a number is ignored
// rather than failing the header, and any other code is left for the caller.
bool DXF_Reader::read_unit_variable(int& value) {
    const int code = groups_.next();
    if (code < 0) return false;
    if (code != 70) {
        groups_.push_back();
        return true;
    }
    int v = 0;
    if (parse_dxf_int(groups_.value(), v)) value = v;
    return true;
}

double DXF_Reader::curve_tolerance() const {
    constexpr double mm = kUnitToleranceMetric;
    constexpr double inch = kUnitToleranceInch;
    switch (insunits_) {
    case 1:
        return inch;
    case 2:
        return inch / 12.0; // feet
    case 4:
        return mm;
    case 5:
        return mm / 10.0; // centimetres
    case 6:
        return mm / 1000.0; // metres
    case 8:
        return inch * 1e6; // microinches
    case 9:
        return inch * 1000.0; // mils
    case 10:
        return inch / 36.0; // yards
    case 13:
        return mm * 1000.0; // microns
    case 14:
        return mm / 100.0; // decimetres
    default:
        break;
    }
    if (measurement_ == 1) return mm;
    return inch;
}

bool DXF_Reader::read_tables() {
    for (;;) {
        int code = groups_.next();
        if (code < 0) return false;
        if (code != 0) continue;
        if (groups_.value_is("ENDSEC")) return true;
        if (!groups_.value_is("TABLE")) continue;
        if (groups_.next() < 0) return false;
        bool ok = false;
        if (groups_.value_is("LAYER")) {
            ok = read_layer_table();
        } else if (groups_.value_is("VPORT")) {
            ok = read_vport_table();
        } else {
            skip(groups_.value());
            ok = pass_table();
        }
        if (!ok) return false;
    }
}

bool DXF_Reader::pass_table() {
    for (;;) {
        const int code = groups_.next();
        if (code < 0) return false;
        if (code == 0 && groups_.value_is("ENDTAB")) return true;
    }
}

// Each LAYER entry with a name (group 2 anywhere in the entry, as newer
// files put handles first) makes a layer, duplicates included.
bool DXF_Reader::read_layer_table() {
    for (;;) {
        int code = groups_.next();
        if (code < 0) return false;
        if (code != 0) continue;
        if (groups_.value_is("ENDTAB")) return true;
        if (!groups_.value_is("LAYER")) {
            skip(groups_.value());
            continue;
        }
        std::string name;
        bool named = false;
        int colour = 0;
        while ((code = groups_.next()) != 0) {
            if (code < 0) return false;
            if (code == 2 && !named) {
                name = groups_.value();
                named = true;
            } else if (code == 62) {
                colour = groups_.integer();
            }
        }
        groups_.push_back();
        if (named) append_layer(name)->colour = colour;
    }
}

// Nothing of the viewports is kept; entry names other than the active
// viewport's are reported as skipped.
bool DXF_Reader::read_vport_table() {
    for (;;) {
        int code = groups_.next();
        if (code < 0) return false;
        if (code != 0) continue;
        if (groups_.value_is("ENDTAB")) return true;
        if (!groups_.value_is("VPORT")) {
            skip(groups_.value());
            continue;
        }
        while ((code = groups_.next()) != 0) {
            if (code < 0) return false;
            if (code == 2 && !iequals(groups_.value(), "*ACTIVE")) skip(groups_.value());
        }
        groups_.push_back();
    }
}

bool DXF_Reader::read_blocks() {
    for (;;) {
        const int code = groups_.next();
        if (code < 0) return false;
        if (code != 0) continue;
        if (groups_.value_is("ENDSEC")) return true;
        if (groups_.value_is("BLOCK") && !read_block_definition()) return false;
    }
}

bool DXF_Reader::read_entities() {
    for (;;) {
        const int code = groups_.next();
        if (code < 0) return false;
        if (code != 0) continue;
        if (groups_.value_is("ENDSEC")) return true;
        const Kind kind = kind_of(groups_.value());
        if (kind == Kind::Other) {
            skip_entity(groups_.value());
            continue;
        }
        // Kept for the loss count: reading moves the groups on.
        const std::string type(groups_.value());
        try {
            DXF_Layer* layer = nullptr;
            Made made;
            read_entity(kind, layer, made);
            if (made.empty()) lose(type);
            for (auto& entity : made) layer->add_entity(std::move(entity));
        } catch (const DXF_read_exception& e) {
            if (groups_.fault()) throw;
            lose(type);
            progress_.hide_busy();
            const Answer a =
                prompt_.ask(MessageKind::Warning, e.what(), {Answer::Ok, Answer::Cancel});
            if (a != Answer::Ok) throw DXF_read_exception("User aborted", -1);
            progress_.show_busy(std::string(kBusyMessage));
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& e) {
            lose(type);
            prompt_.tell(MessageKind::Warning, e.what());
        }
    }
}

} // namespace zeran
