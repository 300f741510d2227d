#pragma once
// Code/value groups of an ASCII DXF file, read in 4096-byte blocks, with line
// counting, one group of push-back and numbers parsed only on demand.
#include "dxf/byte_source.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zeran {

class Progress;

class DXF_GroupReader {
public:
    static constexpr std::size_t kBlockSize = 4096;
    static constexpr std::size_t kMaxValue = 255;
    // Code of a group that could not be read; every code below 0 ends reading.
    static constexpr int kBadGroup = -2;
    // No DXF file has a line or a size anywhere near these; a source beyond
    // them (a device such as /dev/zero, a binary file) ends the reading.
    static constexpr std::size_t kMaxLineBytes = 64 * 1024;
    static constexpr std::uint64_t kMaxFileBytes = 2ull << 30;

    // `progress` may be null; it is told the block count as maximum and moves
    // once per block read.
    DXF_GroupReader(std::unique_ptr<ByteSource> source, Progress* progress);

    // The next group's code, or the pushed-back group again.
    int next();
    // Delivers the current group once more on the following next().
    void push_back() { pushed_back_ = true; }

    int code() const { return code_; }
    std::string_view value() const { return value_; }
    bool value_is(std::string_view s) const { return value() == s; }

    // The current value as a number; throws DXF_read_exception on bad text.
    double real() const;
    int integer() const;

    // Lines read so far, bad ones included.
    long long line_number() const { return line_number_; }

    // True once the source broke a bound; from then on every group is bad,
    // even after go_back, and fault_message() says which bound.
    bool fault() const { return !fault_.empty(); }
    const std::string& fault_message() const { return fault_; }

    // A place to come back to: file position and the group state there.
    struct Mark {
        std::uint64_t offset = 0;
        long long line_number = 0;
        int code = 0;
        bool pushed_back = false;
        std::size_t value_length = 0;
        char value[kMaxValue + 1] = {};
    };
    Mark mark() const;
    // Returns to the mark with an empty buffer and the line count there, so
    // that later messages name true lines.
    void go_back(const Mark& m);

private:
    // The next line, viewed in the buffer when it lies there whole, else
    // assembled in `storage`; valid until the next read.
    bool read_line(char* storage, std::string_view& line);
    bool read_line_slowly(char* storage, std::string_view& line);
    bool refill();

    std::unique_ptr<ByteSource> source_;
    Progress* progress_;
    long long block_max_ = 0;
    long long blocks_read_ = 0;

    char buffer_[kBlockSize];
    std::size_t fill_ = 0;
    std::size_t pos_ = 0;
    std::uint64_t buffer_offset_ = 0; // file position of buffer_[0]
    bool failed_ = false;             // I/O error: nothing more is read
    bool ended_ = false;              // a bad group ends reading until go_back
    std::string fault_;

    long long line_number_ = 0;
    int code_ = 0;
    bool pushed_back_ = false;
    std::string_view value_;
    char value_storage_[kMaxValue + 1] = {};
    char code_storage_[kMaxValue + 1] = {};
};

// Number spellings of the reader: leading blanks and an optional sign, then
// the number and nothing else; reals take a full stop and an exponent.
bool parse_dxf_real(std::string_view text, double& out);
bool parse_dxf_int(std::string_view text, int& out);

} // namespace zeran
