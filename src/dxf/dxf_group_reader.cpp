#include "dxf/dxf_group_reader.h"

#include "base/progress.h"
#include "dxf/dxf_read_exception.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

namespace zeran {

namespace {

std::string_view skip_leading_blanks(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    return t.substr(i);
}

// from_chars takes no plus sign; the sign stays with the digits it belongs to.
std::string_view drop_plus(std::string_view t) {
    if (t.size() > 1 && t[0] == '+' && t[1] != '-' && t[1] != '+') t.remove_prefix(1);
    return t;
}

bool is_blank_char(char c) {
    return c == ' ' || c == '\t';
}

// Group codes: digits with an optional sign, blanks around them tolerated.
// Written out by hand: it runs for every group of the file.
bool parse_code(std::string_view t, int& out) {
    std::size_t i = 0;
    const std::size_t n = t.size();
    while (i < n && is_blank_char(t[i])) ++i;
    bool negative = false;
    if (i < n && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    const std::size_t first_digit = i;
    long long v = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9' && i - first_digit < 10) v = v * 10 + (t[i++] - '0');
    if (i == first_digit) return false;
    while (i < n && is_blank_char(t[i])) ++i;
    if (i != n) return false;
    v = negative ? -v : v;
    if (v > INT_MAX || v < INT_MIN) return false;
    out = static_cast<int>(v);
    return true;
}

bool is_blank(std::string_view t) {
    return std::all_of(t.begin(), t.end(), [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

bool parse_dxf_real(std::string_view text, double& out) {
    std::string_view t = drop_plus(skip_leading_blanks(text));
    if (t.empty()) return false;
    // No "inf"/"nan": a number must start with a digit, a sign or a point.
    const char c = t[0] == '-' ? (t.size() > 1 ? t[1] : '\0') : t[0];
    if (!(c == '.' || (c >= '0' && c <= '9'))) return false;
    double v = 0.0;
    const auto [end, ec] =
        std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool parse_dxf_int(std::string_view text, int& out) {
    std::string_view t = drop_plus(skip_leading_blanks(text));
    if (t.empty()) return false;
    int v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size()) return false;
    out = v;
    return true;
}

DXF_GroupReader::DXF_GroupReader(std::unique_ptr<ByteSource> source, Progress* progress)
    : source_(std::move(source)), progress_(progress) {
    block_max_ = static_cast<long long>(source_->size() / kBlockSize);
    if (progress_) progress_->progress(block_max_, 0);
}

bool DXF_GroupReader::refill() {
    if (failed_) return false;
    buffer_offset_ += fill_;
    pos_ = 0;
    fill_ = 0;
    if (buffer_offset_ >= kMaxFileBytes) {
        fault_ = "The file is larger than " + std::to_string(kMaxFileBytes >> 30) +
                 " GiB; no DXF drawing is that big";
        return false;
    }
    const long long got = source_->read(buffer_, kBlockSize);
    if (got <= 0) {
        failed_ = got < 0;
        return false;
    }
    fill_ = static_cast<std::size_t>(got);
    ++blocks_read_;
    if (progress_) progress_->progress(-1, std::min(blocks_read_, block_max_));
    return true;
}

// A line ends at LF; every CR is dropped (CR LF ends a line, a lone CR is
// noise); bytes past the 255th are dropped. A last line without an end fails.
bool DXF_GroupReader::read_line(char* storage, std::string_view& line) {
    // Most lines lie whole in the buffer and end in LF or CR LF: view them there.
    const char* start = buffer_ + pos_;
    const char* end = buffer_ + fill_;
    const char* p = start;
    while (p < end && *p != '\n' && *p != '\r') ++p;
    if (p < end) {
        std::size_t consumed = 0;
        if (*p == '\n')
            consumed = 1;
        else if (p + 1 < end && p[1] == '\n')
            consumed = 2;
        if (consumed) {
            ++line_number_;
            line = {start, std::min<std::size_t>(static_cast<std::size_t>(p - start), kMaxValue)};
            pos_ = static_cast<std::size_t>(p - buffer_) + consumed;
            return true;
        }
    }
    return read_line_slowly(storage, line);
}

bool DXF_GroupReader::read_line_slowly(char* storage, std::string_view& line) {
    ++line_number_;
    std::size_t length = 0;
    std::size_t scanned = 0; // bytes of the line, dropped ones included
    for (;;) {
        if (scanned > kMaxLineBytes) {
            fault_ = "Line " + std::to_string(line_number_) + " has no line end within " +
                     std::to_string(kMaxLineBytes) + " bytes; this is not a DXF text file";
            line = {storage, length};
            return false;
        }
        if (pos_ == fill_ && !refill()) {
            line = {storage, length};
            return false;
        }
        const char* start = buffer_ + pos_;
        const std::size_t avail = fill_ - pos_;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
        const char* end = lf ? lf : start + avail;
        const char* p = start;
        while (p < end && length < kMaxValue) {
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
            const char* stop = cr ? cr : end;
            const std::size_t n = std::min<std::size_t>(stop - p, kMaxValue - length);
            std::memcpy(storage + length, p, n);
            length += n;
            p = cr ? cr + 1 : end;
        }
        scanned += static_cast<std::size_t>(end - start);
        pos_ = static_cast<std::size_t>(end - buffer_);
        if (lf) {
            ++pos_;
            line = {storage, length};
            return true;
        }
    }
}

int DXF_GroupReader::next() {
    if (pushed_back_) {
        pushed_back_ = false;
        return code_;
    }
    if (ended_ || fault()) return code_ = kBadGroup;
    std::string_view code_line;
    do {
        if (!read_line(code_storage_, code_line)) {
            value_ = {};
            ended_ = true;
            return code_ = kBadGroup;
        }
    } while (is_blank(code_line));
    int code = 0;
    const bool code_ok = parse_code(code_line, code);
    if (!read_line(value_storage_, value_) || !code_ok || code < 0) {
        ended_ = true;
        return code_ = kBadGroup;
    }
    return code_ = code;
}

double DXF_GroupReader::real() const {
    double v = 0.0;
    if (!parse_dxf_real(value(), v))
        throw DXF_read_exception("Invalid Floating point conversion", line_number_);
    return v;
}

int DXF_GroupReader::integer() const {
    int v = 0;
    if (!parse_dxf_int(value(), v))
        throw DXF_read_exception("Invalid Integer conversion", line_number_);
    return v;
}

DXF_GroupReader::Mark DXF_GroupReader::mark() const {
    Mark m;
    m.offset = buffer_offset_ + pos_;
    m.line_number = line_number_;
    m.code = code_;
    m.pushed_back = pushed_back_;
    m.value_length = value_.size();
    if (!value_.empty()) std::memcpy(m.value, value_.data(), value_.size());
    return m;
}

void DXF_GroupReader::go_back(const Mark& m) {
    fill_ = 0;
    pos_ = 0;
    buffer_offset_ = m.offset;
    line_number_ = m.line_number;
    ended_ = false;
    if (!failed_ && !source_->seek(m.offset)) failed_ = true;
    code_ = m.code;
    pushed_back_ = m.pushed_back;
    std::memcpy(value_storage_, m.value, m.value_length);
    value_ = {value_storage_, m.value_length};
}

} // namespace zeran
