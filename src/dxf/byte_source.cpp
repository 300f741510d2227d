#include "dxf/byte_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <system_error>

namespace zeran {

FileByteSource::FileByteSource(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) throw std::system_error(errno, std::generic_category(), "Cannot open file " + path);
    struct stat st {};
    if (fstat(fileno(file_), &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        std::fclose(file_);
        file_ = nullptr;
        throw std::system_error(err, std::generic_category(), "Cannot open file " + path);
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
}

FileByteSource::~FileByteSource() {
    if (file_) std::fclose(file_);
}

long long FileByteSource::read(char* buf, std::size_t n) {
    const std::size_t got = std::fread(buf, 1, n, file_);
    if (got == 0 && std::ferror(file_)) return -1;
    return static_cast<long long>(got);
}

bool FileByteSource::seek(std::uint64_t offset) {
    std::clearerr(file_);
    return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

long long MemoryByteSource::read(char* buf, std::size_t n) {
    const std::size_t take = std::min(n, bytes_.size() - pos_);
    if (take) std::memcpy(buf, bytes_.data() + pos_, take);
    pos_ += take;
    return static_cast<long long>(take);
}

bool MemoryByteSource::seek(std::uint64_t offset) {
    if (offset > bytes_.size()) return false;
    pos_ = static_cast<std::size_t>(offset);
    return true;
}

} // namespace zeran
