#include "encoding/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "common/run_error.h"

namespace qb {

namespace {
// The folder that holds path; "." for a bare file name.
std::filesystem::path FolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}
}  // namespace

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        ThrowErrno(errno, "open " + path.string());
    }
}

InputFile::~InputFile() { Close(); }

void InputFile::Close() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::string_view InputFile::Read(std::string& buffer) {
    if (fd_ < 0) {
        return {};
    }
    for (;;) {
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n >= 0) {
            return {buffer.data(), static_cast<std::size_t>(n)};
        }
        if (errno != EINTR) {
            ThrowErrno(errno, "read " + path_.string());
        }
    }
}

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
    // A link is followed, so that the file it names gets the new content.
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        target_ = std::filesystem::canonical(target, ec);
        if (ec) {
            ThrowErrno(ec.value(), "resolve " + target.string());
        }
    }
    const std::filesystem::path folder = FolderOf(target_);
    // A short name of its own: one built from target's name could be longer than the
    // folder allows when target's name is near the limit.
    std::string pattern = (folder / ".quillbrook-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) {
        ThrowErrno(errno, "create " + pattern);
    }
    temp_ = name.data();
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0 && ::fchmod(fd_, st.st_mode & 07777) != 0) {
        const int e = errno;
        ::close(fd_);
        ::unlink(temp_.c_str());
        ThrowErrno(e, "set permissions of " + temp_.string());
    }
}

ReplacementFile::~ReplacementFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!committed_) {
        ::unlink(temp_.c_str());
    }
}

void ReplacementFile::Write(std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno(errno, "write " + temp_.string());
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void ReplacementFile::Commit() {
    if (::fsync(fd_) != 0) {
        ThrowErrno(errno, "flush " + temp_.string());
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        ThrowErrno(errno, "close " + temp_.string());
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        ThrowErrno(errno, "replace " + target_.string());
    }
    committed_ = true;
    // Make the rename itself durable; the content is already safe, so a folder that
    // cannot be synced is no failure.
    const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace qb
