#include "headless_host/cli/project_file/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace knotwell::project_file {
namespace {

#ifdef _WIN32
// The C runtime's names for the calls below. It has no mkstemp: a free name
// is picked, then created only if it is still free.
int CreateUnique(std::filesystem::path& name) {
    std::wstring pattern = name.native();
    if (!_wmktemp(pattern.data())) return -1;
    name = pattern;
    return _wopen(pattern.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
bool MakeReadable(int) { return true; }  // created as readable as any file
long WriteSome(int fd, std::string_view text) {
    return _write(fd, text.data(), static_cast<unsigned>(std::min<std::size_t>(text.size(), 1u << 30)));
}
bool Flush(int fd) { return _commit(fd) == 0; }
void Close(int fd) { _close(fd); }
#else
int CreateUnique(std::filesystem::path& name) {
    std::string pattern = name.native();
    const int fd = mkstemp(pattern.data());
    name = pattern;
    return fd;
}
// mkstemp makes the file private; a result is as readable as any file.
bool MakeReadable(int fd) { return fchmod(fd, 0644) == 0; }
long WriteSome(int fd, std::string_view text) { return write(fd, text.data(), text.size()); }
bool Flush(int fd) { return fsync(fd) == 0; }
void Close(int fd) { close(fd); }
#endif

// Closes the temporary file and, unless it was renamed into place,
// removes it.
class TemporaryFile {
public:
    explicit TemporaryFile(std::filesystem::path name)
        : name_(std::move(name)), fd_(CreateUnique(name_)), created_(fd_ >= 0) {}
    ~TemporaryFile() {
        CloseOnce();
        std::error_code ignored;
        if (created_ && !kept_) std::filesystem::remove(name_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool opened() const { return created_; }

    bool Write(std::string_view text) {
        if (!MakeReadable(fd_)) return false;
        while (!text.empty()) {
            const long written = WriteSome(fd_, text);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
            text.remove_prefix(static_cast<std::size_t>(written));
        }
        // Only fully written data may reach the final name.
        return Flush(fd_);
    }

    // Over an existing file too, on every system; errno tells why not.
    // Closed first: Windows renames no open file.
    bool RenameTo(const std::filesystem::path& path) {
        CloseOnce();
        std::error_code error;
        std::filesystem::rename(name_, path, error);
        errno = error.value();
        kept_ = !error;
        return kept_;
    }

private:
    void CloseOnce() {
        if (fd_ >= 0) Close(fd_);
        fd_ = -1;
    }

    std::filesystem::path name_;
    int fd_;
    bool created_;
    bool kept_ = false;
};

std::string Failure(const std::filesystem::path& path, const std::string& why) {
    return "cannot write " + path.string() + ": " + why;
}

}  // namespace

std::optional<std::string> WriteFileAtomically(const std::filesystem::path& path, std::string_view text) {
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return Failure(path, "the folder " + folder.string() + " does not exist");
    }
    TemporaryFile temporary(folder / ("." + path.filename().string() + ".XXXXXX"));
    if (!temporary.opened()) {
        return Failure(path, "cannot create a file in " + folder.string() + " (" + std::strerror(errno) + ")");
    }
    if (!temporary.Write(text) || !temporary.RenameTo(path)) {
        return Failure(path, std::strerror(errno));
    }
    return std::nullopt;
}

}  // namespace knotwell::project_file
