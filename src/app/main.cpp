// The zeran program: batch options run without a window; anything else
// names a project for the window.
#include "app/batch.h"
#ifdef ZERAN_HAS_UI
#include "app/app_start.h"
#include "app/sheet_batch.h"
#endif

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef ZERAN_HAS_UI
    if (!zeran::is_batch_command(args)) return zeran::run_window(argc, argv);
    zeran::set_sheet_runner(zeran::batch_sheet_pdf);
#endif
    if (args.empty() || zeran::is_batch_command(args))
        return zeran::run_batch(args, {std::cout, std::cerr});
    std::cerr << "zeran: this build has no window; see --help\n";
    return static_cast<int>(zeran::ExitCode::BadUsage);
}
