#pragma once
// The GNC writer: the project header, the enabled cycles' moves and the
// footer as the neutral NC program the post-processor reads.
#include "base/progress.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zeran {

class TCanCycle;

// The data of the first node of the cycle tree.
struct THeader {
    std::string ProjectName;
    std::string Author;
    double Date = 0; // days since 30 December 1899; the fraction is the time of day
    std::uint8_t Units = 0;
    double BilletLength = 0;
    double BilletRadius = 0;
};

// The data of the last node of the cycle tree; nothing of it reaches the file.
struct TFooter {};

// The file could not be created or written; what() says which and why
// ("Cannot create file <path>: <system reason>").
class FileCreateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A cycle holds a coordinate, feed or speed that is not finite or lies beyond
// what any machine takes; what() names the cycle, the value and the limit.
class GncValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A date as the short date of a locale; the default gives "14/03/2005".
using ShortDateFormat = std::function<std::string(double date)>;
std::string default_short_date(double date);

class TGNCOutput {
public:
    std::string FileName;
    std::string MachineName;
    // Reports (max, position): the total count of move records and 0 before
    // the body, then (-1, records handled) after every record. May be unset.
    Progress* OnProgress = nullptr;
    TFooter* Footer = nullptr;
    THeader* Header = nullptr;

    // The header used when the header node is not enabled: empty, date 0, metric.
    THeader* BlankHeader() { return &blank_; }

    void Clear();
    void AppendCycle(TCanCycle* cycle);
    const std::vector<TCanCycle*>& Cycles() const { return cycles_; }
    int CurrentTool() const { return current_tool_; }

    // The whole file; reals use `separator` as their decimal separator.
    // Throws GncValueError rather than write a value no machine should get.
    std::string Text(char separator = '.', const ShortDateFormat& date = default_short_date);
    // Sets FileName and writes the text in one step, replacing the file only
    // when complete. Throws FileCreateError when the file cannot be written,
    // GncValueError as Text does.
    void WriteFile(const std::string& path, char separator = '.',
                   const ShortDateFormat& date = default_short_date);

private:
    std::vector<TCanCycle*> cycles_;
    int current_tool_ = 0;
    THeader blank_;
};

} // namespace zeran
