#pragma once
// Progress of long work (reading a drawing, drawing cycles, writing a GNC file).
#include <string>

namespace zeran {

class Progress {
public:
    virtual ~Progress() = default;
    // Max < 0 keeps the last maximum.
    virtual void progress(long long max, long long position) = 0;
    virtual void show_busy(const std::string& message) = 0;
    virtual void hide_busy() = 0;
};

// Does nothing; for callers that do not watch progress.
class NullProgress final : public Progress {
public:
    void progress(long long, long long) override {}
    void show_busy(const std::string&) override {}
    void hide_busy() override {}
};

} // namespace zeran
