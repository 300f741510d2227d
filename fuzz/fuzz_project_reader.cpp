// The project file reader on arbitrary files: beside the shaft drawing,
// beside the bushing drawing and with no drawing at all. Nothing may crash,
// hang or leak, and a project that reads must write and read back.
#include "base/file_io.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Two small part drawings with lines and an arc; the seed projects refer to them.
const char* const kShaft = "0\nSECTION\n2\nENTITIES\n"
                           "0\nLINE\n8\nPROFILE\n10\n0\n20\n0\n11\n0\n21\n8.5\n"
                           "0\nLINE\n8\nPROFILE\n10\n0\n20\n8.5\n11\n-1.5\n21\n10\n"
                           "0\nLINE\n8\nPROFILE\n10\n-1.5\n20\n10\n11\n-20\n21\n10\n"
                           "0\nLINE\n8\nPROFILE\n10\n-20\n20\n10\n11\n-20\n21\n8.5\n"
                           "0\nLINE\n8\nPROFILE\n10\n-20\n20\n8.5\n11\n-24\n21\n8.5\n"
                           "0\nLINE\n8\nPROFILE\n10\n-24\n20\n8.5\n11\n-24\n21\n12.5\n"
                           "0\nLINE\n8\nPROFILE\n10\n-24\n20\n12.5\n11\n-47\n21\n12.5\n"
                           "0\nLINE\n8\nPROFILE\n10\n-50\n20\n15.5\n11\n-50\n21\n16.5\n"
                           "0\nLINE\n8\nPROFILE\n10\n-50\n20\n16.5\n11\n-51\n21\n17.5\n"
                           "0\nLINE\n8\nPROFILE\n10\n-51\n20\n17.5\n11\n-100\n21\n17.5\n"
                           "0\nLINE\n8\nPROFILE\n10\n-100\n20\n17.5\n11\n-100\n21\n0\n"
                           "0\nARC\n8\nPROFILE\n10\n-47\n20\n15.5\n40\n3.0\n50\n180.0\n51\n270.0\n"
                           "0\nENDSEC\n"
                           "0\nEOF\n";

const char* const kBushing = "0\nSECTION\n2\nENTITIES\n"
                             "0\nLINE\n8\nBUSHING\n10\n0\n20\n11\n11\n0\n21\n19\n"
                             "0\nLINE\n8\nBUSHING\n10\n0\n20\n19\n11\n-1\n21\n20\n"
                             "0\nLINE\n8\nBUSHING\n10\n-1\n20\n20\n11\n-32\n21\n20\n"
                             "0\nLINE\n8\nBUSHING\n10\n-32\n20\n20\n11\n-32\n21\n10\n"
                             "0\nLINE\n8\nBUSHING\n10\n-32\n20\n10\n11\n-1\n21\n10\n"
                             "0\nLINE\n8\nBUSHING\n10\n-1\n20\n10\n11\n0\n21\n11\n"
                             "0\nLINE\n8\nDRILL\n10\n-1\n20\n9\n11\n-38.5\n21\n9\n"
                             "0\nENDSEC\n"
                             "0\nEOF\n";

struct Folders {
    fs::path shaft, bushing, missing, round_trip;
};

const Folders& folders() {
    static const Folders f = [] {
        const fs::path root =
            fs::temp_directory_path() / ("zeran_fuzz_project_" + std::to_string(::getpid()));
        Folders out{root / "shaft", root / "bushing", root / "missing", root / "again"};
        for (const fs::path& p : {out.shaft, out.bushing, out.missing, out.round_trip})
            fs::create_directories(p);
        zeran::write_file_atomically((out.shaft / "p.tdx").string(), kShaft);
        zeran::write_file_atomically((out.bushing / "p.tdx").string(), kBushing);
        return out;
    }();
    return f;
}

void read_beside(const fs::path& folder, const std::string& text, char separator) {
    const std::string project = (folder / "p.tcf").string();
    if (!zeran::write_file_atomically(project, text)) return;
    zeran::ScriptedPrompt prompt;
    zeran::ProjectModel model(prompt);
    zeran::ProjectReadOptions options;
    options.separator = separator;
    options.write_missing_tdx = false;
    std::string error;
    if (!zeran::ReadProjectFile(model, project, options, &error)) return;
    // What was read must survive a save and a second read.
    const std::string again = (folders().round_trip / "q.tcf").string();
    zeran::WriteProjectFile(model, again, separator);
    zeran::ScriptedPrompt prompt2;
    zeran::ProjectModel reread(prompt2);
    if (!zeran::ReadProjectFile(reread, again, options, &error)) std::abort();
    if (reread.cycles.size() != model.cycles.size()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char separator = size > 0 && (data[0] & 4) ? ',' : '.';
    const Folders& f = folders();
    read_beside(f.shaft, text, separator);
    read_beside(f.bushing, text, separator);
    read_beside(f.missing, text, separator);
    return 0;
}
