// postvex SETTINGS.ini: the post-processor that turns ZERAN's GNC file into
// the G-code of one machine.
#include "ncout/machine_data.h"
#include "ncout/postvex_job.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <system_error>

namespace {

// The machine data ship beside the program in a build tree, and under
// share/zeran/postvex when installed.
std::string own_data_folder(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) exe = fs::absolute(argv0, ec);
    fs::path dir = exe.parent_path();
    for (const fs::path& candidate : {dir, dir / ".." / "share" / "zeran" / "postvex"}) {
        if (zeran::file_exists((candidate / zeran::kMachDataFile).string()))
            return candidate.lexically_normal().string();
    }
    return dir.string();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::cerr << "usage: postvex SETTINGS.ini\n";
        return 2;
    }
    // Whatever the run meets ends it with one line and exit status 1.
    try {
        auto outcome = zeran::run_postvex_job(argv[1], own_data_folder(argv[0]));
        if (!outcome.ok) {
            std::cerr << "postvex: " << outcome.message << '\n';
            return 1;
        }
        return 0;
    } catch (const std::bad_alloc&) {
        std::cerr << "postvex: out of memory\n";
    } catch (const std::exception& e) {
        std::cerr << "postvex: " << e.what() << '\n';
    }
    return 1;
}
