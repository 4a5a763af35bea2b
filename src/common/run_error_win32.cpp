// Windows errors as failure numbers: each code gives the number of the errno value of
// the same meaning, so that a failure reads the same on every platform.

#include <windows.h>

#include "common/run_error.h"

namespace qb {

int ErrorNumberFromWin32(unsigned long code) noexcept {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return err::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:  // a part of the path is not a folder
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return err::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:  // open elsewhere
    case ERROR_LOCK_VIOLATION:
        return err::kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
        return err::kDiskFull;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_PARAMETER:
        return err::kBadFileName;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_DIR_NOT_EMPTY:
    case ERROR_BUSY:
    case ERROR_CANT_RESOLVE_FILENAME:
        return err::kPathFileAccess;
    case ERROR_NOT_READY:
    case ERROR_INVALID_DRIVE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETNAME_DELETED:
    case ERROR_NO_MEDIA_IN_DRIVE:
    case ERROR_UNRECOGNIZED_MEDIA:
    case ERROR_DEVICE_NOT_CONNECTED:
        return err::kDeviceUnavailable;
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
        return err::kDeviceIo;
    default:
        return err::kPathFileAccess;
    }
}

void ThrowWin32(unsigned long code, const std::string& detail) {
    std::string text = detail;
    if (!text.empty()) {
        text += ": ";
    }
    text += "Windows error " + std::to_string(code);
    throw RunError(ErrorNumberFromWin32(code), text);
}

}  // namespace qb
