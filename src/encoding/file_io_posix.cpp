#include "encoding/file_io.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>

#include "common/run_error.h"
#include "encoding/temp_files.h"
#include "encoding/work_file_slots.h"

namespace qb {

namespace {

// The folder that holds path; "." for a bare file name.
std::filesystem::path FolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// ---- Names of our new files, removed when a signal ends the program

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

detail::WorkFileSlots<char, PATH_MAX> gNames;

// Only async-signal-safe calls here.
extern "C" void RemoveNewFilesAndEnd(int signalNumber) {
    gNames.ForEachKept([](const char* name) { ::unlink(name); });
    // SA_RESETHAND has put the default action back: end by the same signal.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signalNumber);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signalNumber);
    // Reached only if the signal is held back after all.
    // cppcheck-suppress unreachableCode
    ::_exit(128 + signalNumber);
}

// Takes over the signals that still have their default action; an ignored SIGHUP (nohup)
// stays ignored, and a handler of the program's own stays in place.
void InstallHandlers() {
    struct sigaction action {};
    action.sa_handler = RemoveNewFilesAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int s : kSignals) {
        sigaddset(&action.sa_mask, s);
    }
    action.sa_flags = SA_RESETHAND;
    for (const int s : kSignals) {
        struct sigaction old {};
        if (sigaction(s, nullptr, &old) == 0 && (old.sa_flags & SA_SIGINFO) == 0 && old.sa_handler == SIG_DFL) {
            sigaction(s, &action, nullptr);
        }
    }
}

// The three signals held back while a new file is made and its name kept, so that no
// signal can end the program between the two.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (const int s : kSignals) {
            sigaddset(&set, s);
        }
        pthread_sigmask(SIG_BLOCK, &set, &old_);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t old_{};
};

// Writes all of bytes to fd; path names the file in a failure.
void WriteAll(int fd, std::string_view bytes, const std::filesystem::path& path) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno(errno, "write " + path.string());
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Closes fd unless it is closed already, and marks it closed.
void CloseOnce(int& fd, const std::filesystem::path& path) {
    if (fd < 0) {
        return;
    }
    const int f = fd;
    fd = -1;
    if (::close(f) != 0) {
        ThrowErrno(errno, "close " + path.string());
    }
}

constexpr int kNameAttempts = 100;

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

OutputFile::OutputFile(const std::filesystem::path& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        ThrowErrno(errno, "create " + path.string());
    }
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void OutputFile::Write(std::string_view bytes) { WriteAll(fd_, bytes, path_); }

void OutputFile::Close() { CloseOnce(fd_, path_); }

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
    // A link is followed, so that the file it names gets the new content.
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        target_ = std::filesystem::canonical(target, ec);
        if (ec) {
            ThrowErrno(ec.value(), "resolve " + target.string());
        }
    }
    struct stat st {};
    const bool targetExists = ::stat(target_.c_str(), &st) == 0;
    if (targetExists && S_ISDIR(st.st_mode)) {
        ThrowErrno(EISDIR, "replace " + target_.string());
    }
    // A file that could not be written in place is not replaced either.
    if (targetExists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
        ThrowErrno(errno, "replace " + target_.string());
    }
    static std::once_flag handlersInstalled;
    std::call_once(handlersInstalled, InstallHandlers);

    // A short name of our own: one built from target's name could be longer than the
    // folder allows when target's name is near the limit. Created with the usual
    // permissions (the umask applies), then given target's.
    const std::filesystem::path folder = FolderOf(target_);
    const SignalsHeld held;
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temp_ = folder / NewTempName();
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        const int e = errno;
        if (fd_ < 0 && (e != EEXIST || attempt + 1 == kNameAttempts)) {
            ThrowErrno(e, "create " + temp_.string());
        }
    }
    slot_ = gNames.Keep(temp_.native());
    if (targetExists && ::fchmod(fd_, st.st_mode & 07777) != 0) {
        const int e = errno;
        ::close(fd_);
        fd_ = -1;
        ::unlink(temp_.c_str());
        gNames.Forget(slot_);
        ThrowErrno(e, "set permissions of " + temp_.string());
    }
}

ReplacementFile::~ReplacementFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!done_) {
        ::unlink(temp_.c_str());
    }
    gNames.Forget(slot_);
}

void ReplacementFile::Write(std::string_view bytes) { WriteAll(fd_, bytes, temp_); }

void ReplacementFile::Close() { CloseOnce(fd_, temp_); }

void ReplacementFile::Commit() {
    // Written by others after Close(): opened again by name to flush it.
    const int fd = fd_ >= 0 ? fd_ : ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
    fd_ = -1;
    if (fd < 0) {
        ThrowErrno(errno, "open " + temp_.string());
    }
    if (::fsync(fd) != 0) {
        const int e = errno;
        ::close(fd);
        ThrowErrno(e, "flush " + temp_.string());
    }
    if (::close(fd) != 0) {
        ThrowErrno(errno, "close " + temp_.string());
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        ThrowErrno(errno, "replace " + target_.string());
    }
    done_ = true;
    gNames.Forget(slot_);
    // Make the rename itself durable; the content is already safe, so a folder that
    // cannot be synced is no failure.
    const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

bool ReplacementFile::KeepAs(const std::filesystem::path& other) noexcept {
    if (done_) {
        return false;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    const bool kept = ::rename(temp_.c_str(), other.c_str()) == 0;
    if (!kept) {
        ::unlink(temp_.c_str());
    }
    done_ = true;
    gNames.Forget(slot_);
    return kept;
}

}  // namespace qb
