#include "headless_host/cli/project_file/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace knotwell::project_file {
namespace {

// Closes the temporary file and, unless it was renamed into place,
// removes it.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string name) : name_(std::move(name)), fd_(mkstemp(name_.data())) {}
    ~TemporaryFile() {
        if (fd_ >= 0) close(fd_);
        if (fd_ >= 0 && !kept_) unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool opened() const { return fd_ >= 0; }

    bool Write(std::string_view text) {
        // mkstemp makes the file private; a result is as readable as any file.
        if (fchmod(fd_, 0644) != 0) return false;
        while (!text.empty()) {
            const ssize_t written = write(fd_, text.data(), text.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
            text.remove_prefix(static_cast<std::size_t>(written));
        }
        // Only fully written data may reach the final name.
        return fsync(fd_) == 0;
    }

    bool RenameTo(const std::filesystem::path& path) {
        kept_ = std::rename(name_.c_str(), path.c_str()) == 0;
        return kept_;
    }

private:
    std::string name_;
    int fd_;
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
    TemporaryFile temporary((folder / ("." + path.filename().string() + ".XXXXXX")).string());
    if (!temporary.opened()) {
        return Failure(path, "cannot create a file in " + folder.string() + " (" + std::strerror(errno) + ")");
    }
    if (!temporary.Write(text) || !temporary.RenameTo(path)) {
        return Failure(path, std::strerror(errno));
    }
    return std::nullopt;
}

}  // namespace knotwell::project_file
