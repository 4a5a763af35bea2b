#include "export/import_file.h"

#include <cerrno>
#include <system_error>

#include "common/run_error.h"

namespace qb {

namespace {
constexpr std::size_t kStreamBufferSize = std::size_t{256} * 1024;

// A write that fails is a full disk (61) or else a device I/O error (57).
[[noreturn]] void ThrowWriteFailure(int errnoValue, const char* what) {
    const bool full = ErrorNumberFromErrno(errnoValue) == err::kDiskFull;
    throw RunError(full ? err::kDiskFull : err::kDeviceIo, what);
}
}  // namespace

void CheckOutputFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    const auto folderStatus = std::filesystem::status(folder.empty() ? "." : folder, ec);
    if (folderStatus.type() == std::filesystem::file_type::not_found) {
        throw RunError(err::kPathNotFound, "output folder does not exist: " + folder.string());
    }
    if (!ec && folderStatus.type() != std::filesystem::file_type::directory) {
        throw RunError(err::kPathFileAccess, "output folder is not a folder: " + folder.string());
    }
}

ImportFile::ImportFile(const std::filesystem::path& path) : streamBuffer_(kStreamBufferSize) {
    CheckOutputFolder(path.parent_path());
    // A folder of that name is refused as it is on POSIX systems (Windows would say
    // "access denied").
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw RunError(err::kPathFileAccess, "output name is a folder: " + path.string());
    }
    // The buffer must be set before the file is opened to take effect.
    out_.rdbuf()->pubsetbuf(streamBuffer_.data(), static_cast<std::streamsize>(streamBuffer_.size()));
    errno = 0;
    out_.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!out_.is_open()) {
        const int e = errno;
        if (e == ENOENT) {
            throw RunError(err::kPathNotFound, "cannot create " + path.string());
        }
        ThrowErrno(e == 0 ? EACCES : e, "cannot create " + path.string());
    }
}

ImportFile::~ImportFile() {
    if (!closed_) {
        out_.close();  // flushes the records written before a failure
    }
}

void ImportFile::WriteLine(std::u16string_view text) {
    if (failed_) {
        return;
    }
    bytes_.clear();
    encoder_.Feed(text, bytes_);
    encoder_.Finish(bytes_);
    bytes_ += "\r\n";
    errno = 0;
    out_.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
    if (!out_) {
        failed_ = true;
        failureErrno_ = errno;
    }
}

void ImportFile::Close() {
    if (closed_) {
        return;
    }
    closed_ = true;
    if (!failed_) {
        errno = 0;
        out_.flush();
        if (!out_) {
            failed_ = true;
            failureErrno_ = errno;
        }
    }
    out_.close();
    if (failed_) {
        ThrowWriteFailure(failureErrno_, "writing the import file failed");
    }
    if (out_.fail()) {
        ThrowWriteFailure(errno, "closing the import file failed");
    }
}

}  // namespace qb
