// The file layer's primitives on POSIX systems. A work file's name is removed when
// SIGTERM, SIGINT or SIGHUP ends the program.

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/run_error.h"
#include "files/file_platform.h"

namespace qb::detail {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe calls here.
extern "C" void RemoveNewFilesAndEnd(int signalNumber) {
    gWorkFiles.ForEachKept([](const char* name) { ::unlink(name); });
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

// The three signals held back for the life of the object.
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

[[noreturn]] void ThrowLast(const std::string& what, const std::filesystem::path& path) {
    ThrowErrno(errno, what + " " + path.string());
}

// When a file is created, ENOENT can only mean that a folder of its path is missing: the
// failure Windows reports as ERROR_PATH_NOT_FOUND (76), not a missing file (53).
[[noreturn]] void ThrowCreateFailure(const std::filesystem::path& path) {
    if (errno == ENOENT) {
        throw RunError(err::kPathNotFound, "create " + path.string() + ": a folder of the path does not exist");
    }
    ThrowLast("create", path);
}

}  // namespace

std::string Shown(const std::filesystem::path& path) { return path.string(); }

FileHandle OpenToRead(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ThrowLast("open", path);
    }
    return fd;
}

FileHandle CreateToWrite(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        ThrowCreateFailure(path);
    }
    return fd;
}

std::size_t ReadSome(FileHandle file, char* data, std::size_t size, const std::filesystem::path& path) {
    for (;;) {
        const ssize_t n = ::read(file, data, size);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            ThrowLast("read", path);
        }
    }
}

std::size_t WriteSome(FileHandle file, std::string_view bytes, const std::filesystem::path& path) {
    const ssize_t n = ::write(file, bytes.data(), bytes.size());
    if (n >= 0) {
        return static_cast<std::size_t>(n);
    }
    if (errno != EINTR) {
        ThrowLast("write", path);
    }
    return 0;
}

void Close(FileHandle file, const std::filesystem::path& path) {
    if (::close(file) != 0) {
        ThrowLast("close", path);
    }
}

void CloseQuietly(FileHandle file) noexcept { ::close(file); }

void RemoveQuietly(const std::filesystem::path& path) noexcept { ::unlink(path.c_str()); }

TargetFacts CheckReplaceable(const std::filesystem::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        return {};
    }
    if (S_ISDIR(st.st_mode)) {
        ThrowErrno(EISDIR, "replace " + target.string());
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        ThrowLast("replace", target);
    }
    return {true, static_cast<unsigned>(st.st_mode & 07777)};
}

// Takes over the signals that still have their default action; an ignored SIGHUP (nohup)
// stays ignored, and a handler of the program's own stays in place.
void InstallRemovalHandler() {
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

void WithEndingHeld(const std::function<void()>& make) {
    const SignalsHeld held;
    make();
}

FileHandle CreateNew(const std::filesystem::path& path, bool lastAttempt) {
    // The usual permissions (the umask applies); CopyPermissions gives the target's.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || lastAttempt)) {
        ThrowCreateFailure(path);
    }
    return fd;
}

void CopyPermissions(FileHandle file, const TargetFacts& target, const std::filesystem::path& path) {
    if (::fchmod(file, static_cast<mode_t>(target.permissions)) != 0) {
        ThrowLast("set permissions of", path);
    }
}

void StartWriting(FileHandle file) noexcept {
#ifdef __linux__
    ::sync_file_range(file, 0, 0, SYNC_FILE_RANGE_WRITE);  // a hint: its failure changes nothing
#else
    static_cast<void>(file);
#endif
}

FileHandle OpenToFlush(const std::filesystem::path& path) { return OpenToRead(path); }

void FlushAndClose(FileHandle file, const std::filesystem::path& path) {
    if (::fsync(file) != 0) {
        const int e = errno;
        ::close(file);
        ThrowErrno(e, "flush " + path.string());
    }
    Close(file, path);
}

void Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        ThrowLast("replace", to);
    }
}

// Makes the renames into the folder durable; the content is already safe, so a folder
// that cannot be synced is no failure.
void SyncFolder(const std::filesystem::path& folder) noexcept {
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    Rename(from, to);
    SyncFolder(to.parent_path());
}

bool MoveQuietly(const std::filesystem::path& from, const std::filesystem::path& to) noexcept {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace qb::detail

namespace qb {

std::optional<FileId> IdentityOf(const std::filesystem::path& path) noexcept {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace qb
