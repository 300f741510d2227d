// Any bytes through the DXF reader: it must end, with whatever it read, and
// what it read must survive extents, drawing-free queries and writing.
#include "base/progress.h"
#include "base/prompt.h"
#include "dxf/byte_source.h"
#include "dxf/dxf_reader.h"
#include "dxf/dxf_writer.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Answers OK to the first few warnings and Cancel after that, so both paths run.
class AlternatingPrompt final : public zeran::Prompt {
public:
    zeran::Answer ask(zeran::MessageKind, const std::string&,
                      const std::vector<zeran::Answer>&) override {
        return ++asked_ % 8 == 0 ? zeran::Answer::Cancel : zeran::Answer::Ok;
    }
    void tell(zeran::MessageKind, const std::string&) override {}
    int choose(const std::string&, const std::vector<std::string>&, int preselected) override {
        return preselected;
    }

private:
    int asked_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    AlternatingPrompt prompt;
    zeran::NullProgress progress;
    zeran::DXF_Reader reader(std::make_unique<zeran::MemoryByteSource>(bytes), prompt, progress);
    std::vector<std::string> skipped;
    reader.set_skipped_list(&skipped);
    reader.read_file();
    zeran::LayerList layers = reader.take_layers();
    for (const auto& layer : layers)
        for (const auto& list : layer->entity_lists())
            for (const zeran::DXF_Entity* e : *list) {
                (void)e->start_point();
                (void)e->end_point();
                (void)e->describe();
            }
    zeran::DXF_Writer writer(layers);
    (void)writer.text();
    return 0;
}
