#pragma once
// Where the DXF reader's bytes come from: a file, or memory (fuzzing, tests).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zeran {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to n bytes into buf; 0 at the end, -1 on an I/O error.
    virtual long long read(char* buf, std::size_t n) = 0;
    // Moves to an absolute offset; false when that is not possible.
    virtual bool seek(std::uint64_t offset) = 0;
    virtual std::uint64_t size() const = 0;
};

// Opening throws std::system_error naming the file when it cannot be read.
class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(const std::string& path);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    long long read(char* buf, std::size_t n) override;
    bool seek(std::uint64_t offset) override;
    std::uint64_t size() const override { return size_; }

private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

// Refers to bytes owned by the caller, which must outlive it.
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
    long long read(char* buf, std::size_t n) override;
    bool seek(std::uint64_t offset) override;
    std::uint64_t size() const override { return bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

} // namespace zeran
