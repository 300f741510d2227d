#include "base/file_io.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeran {

namespace {

// Closes a descriptor when the scope ends.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    int release() {
        const int f = fd;
        fd = -1;
        return f;
    }
};

std::string folder_part(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (which need not exist yet);
// false with errno set when the chain loops or cannot be read.
bool follow_links(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return false;
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : folder_part(path) + "/" + target;
    }
    errno = ELOOP;
    return false;
}

bool read_only(const struct stat& st, const std::string& path) {
    // The write bits count even for root, who would pass access().
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// A name of its own for every call of every process, short enough for any
// folder, so two writers to one file never share a temporary file.
std::string temporary_name(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    return folder + "/.zeran-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter.fetch_add(1)) + ".tmp";
}

bool write_all(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The content written and synced, with the mode of the file it replaces;
// false with errno set.
bool fill(int fd, std::string_view content, const struct stat* replaced) {
    if (replaced && ::fchmod(fd, replaced->st_mode & 07777) != 0) return false;
    return write_all(fd, content) && ::fsync(fd) == 0;
}

// A folder is synced so that the rename inside it survives a power loss;
// file systems that cannot sync folders are taken as they are.
void sync_folder(const std::string& folder) {
    Descriptor dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) ::fsync(dir.fd);
}

} // namespace

std::string system_reason(int error_number) {
    return std::strerror(error_number);
}

std::optional<std::string> read_file(const std::string& path, std::string* error,
                                     std::uint64_t max_bytes) {
    auto fail = [&](const std::string& what, int err) -> std::optional<std::string> {
        if (error) *error = what + path + ": " + system_reason(err);
        return std::nullopt;
    };
    Descriptor in{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0) return fail("Cannot open file ", errno);
    struct stat st {};
    if (::fstat(in.fd, &st) != 0) return fail("Cannot open file ", errno);
    if (S_ISDIR(st.st_mode)) return fail("Cannot open file ", EISDIR);
    std::string text;
    if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) <= max_bytes)
        text.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail("Cannot read file ", errno);
        }
        if (n == 0) break;
        if (text.size() + static_cast<std::size_t>(n) > max_bytes) {
            if (error)
                *error = "File " + path + " is larger than " + std::to_string(max_bytes >> 20) +
                         " MiB; no file of this kind is that big";
            return std::nullopt;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

bool write_file_atomically(const std::string& path, std::string_view content, std::string* error) {
    auto fail = [&](const std::string& message) {
        if (error) *error = message;
        return false;
    };
    std::string target = path;
    if (!follow_links(target))
        return fail("Cannot create file " + path + ": " + system_reason(errno));
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) return fail(path + " is not a regular file");
    if (exists && read_only(st, target)) return fail(path + " is read-only");

    const std::string folder = folder_part(target);
    const struct stat* mode_of = exists ? &st : nullptr;
    std::string temp;
    // An unnamed file first: a run killed while writing leaves nothing behind.
    // It gets a name only for the instant between the link and the rename.
    if (Descriptor unnamed{::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)};
        unnamed.fd >= 0) {
        if (!fill(unnamed.fd, content, mode_of))
            return fail("Cannot write file " + path + ": " + system_reason(errno));
        const std::string self = "/proc/self/fd/" + std::to_string(unnamed.fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            temp = temporary_name(folder);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
                break;
            temp.clear();
            if (errno != EEXIST) break;
        }
    }
    // File systems without unnamed files (or without /proc) take a named one.
    if (temp.empty()) {
        Descriptor out;
        for (int attempt = 0; attempt < 100 && out.fd < 0; ++attempt) {
            temp = temporary_name(folder);
            out.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (out.fd < 0 && errno != EEXIST) break;
        }
        if (out.fd < 0) return fail("Cannot create file " + path + ": " + system_reason(errno));
        bool ok = fill(out.fd, content, mode_of);
        int err = ok ? 0 : errno;
        if (::close(out.release()) != 0 && ok) {
            ok = false;
            err = errno;
        }
        if (!ok) {
            ::unlink(temp.c_str());
            return fail("Cannot write file " + path + ": " + system_reason(err));
        }
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return fail("Cannot write file " + path + ": " + system_reason(err));
    }
    sync_folder(folder);
    return true;
}

bool same_file(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string output_path_problem(const std::string& output, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs)
        if (same_file(output, input))
            return "the output " + output + " is the input " + input + "; choose another output";
    struct stat st {};
    if (::stat(output.c_str(), &st) != 0) return {};
    if (!S_ISREG(st.st_mode)) return output + " is not a regular file";
    if (read_only(st, output)) return output + " is read-only";
    return {};
}

} // namespace zeran
