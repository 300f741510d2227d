#pragma once
// The GNC writer with its header and footer as the project uses them, and the
// one call that writes a file. Until the NC output's writer is in the build,
// a minimal stand-in keeps the project side usable.
#include <string>

#if __has_include("ncout/gnc_writer.h")
#include "ncout/gnc_writer.h"
#define ZERAN_HAS_GNC_WRITER 1
#else
#include <memory>
#include <vector>

namespace zeran {

class TCanCycle;

struct THeader {
    std::string ProjectName;
    std::string Author;
    double Date = 0;
    unsigned char Units = 0;
    double BilletLength = 0;
    double BilletRadius = 0;
};

struct TFooter {};

// Stand-in writer: holds what Post Process fills in.
class TGNCOutput {
public:
    void Clear() { cycles.clear(); }
    void AppendCycle(TCanCycle* cycle) { cycles.push_back(cycle); }
    THeader* BlankHeader() { return &blank_; }
    THeader* Header = nullptr;
    TFooter* Footer = nullptr;
    std::vector<TCanCycle*> cycles;

private:
    THeader blank_;
};

} // namespace zeran
#endif

namespace zeran {

// Writes the writer's GNC text to `path` (beside it, then renamed); false
// with *error set when the file cannot be written.
bool write_gnc_file(TGNCOutput& writer, const std::string& path, char separator,
                    std::string* error);

} // namespace zeran
