#include "common/run_error.h"

#include <cerrno>
#include <cstring>

namespace qb {

namespace {
std::string Compose(int number, const std::string& detail) {
    std::string text = "run-time error " + std::to_string(number);
    if (!detail.empty()) {
        text += ": " + detail;
    }
    return text;
}
}  // namespace

RunError::RunError(int number, const std::string& detail)
    : std::runtime_error(Compose(number, detail)), number_(number) {}

int ErrorNumberFromErrno(int errnoValue) noexcept {
    switch (errnoValue) {
    case ENOENT:
        return err::kFileNotFound;
    case ENOTDIR:
        return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return err::kPermissionDenied;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return err::kDiskFull;
    case ENAMETOOLONG:
    case EINVAL:
        return err::kBadFileName;
    case EISDIR:
    case EEXIST:
    case EBUSY:
    case ELOOP:
        return err::kPathFileAccess;
    case ENXIO:
    case ENODEV:
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
#ifdef ESTALE
    case ESTALE:
#endif
        return err::kDeviceUnavailable;
    case EIO:
        return err::kDeviceIo;
    default:
        return err::kPathFileAccess;
    }
}

int ErrorNumberFromErrorCode(const std::error_code& ec) noexcept {
#ifdef _WIN32
    if (ec.category() == std::system_category()) {
        return ErrorNumberFromWin32(static_cast<unsigned long>(ec.value()));
    }
#endif
    if (ec.category() == std::generic_category() || ec.category() == std::system_category()) {
        return ErrorNumberFromErrno(ec.value());
    }
    return err::kPathFileAccess;
}

void ThrowErrorCode(const std::error_code& ec, const std::string& detail) {
    std::string text = detail;
    if (!text.empty()) {
        text += ": ";
    }
    text += ec.message();
    throw RunError(ErrorNumberFromErrorCode(ec), text);
}

void ThrowErrno(int errnoValue, const std::string& detail) {
    std::string text = detail;
    if (!text.empty()) {
        text += ": ";
    }
    text += std::strerror(errnoValue);
    throw RunError(ErrorNumberFromErrno(errnoValue), text);
}

std::string ErrorDescription(int number) {
    switch (number) {
    case err::kInvalidCall:
        return "プロシージャの呼び出し、または引数が不正です。";
    case err::kOverflow:
        return "オーバーフローしました。";
    case err::kSubscript:
        return "インデックスが有効範囲にありません。";
    case err::kTypeMismatch:
        return "型が一致しません。";
    case err::kBadFileName:
        return "ファイル名または番号が不正です。";
    case err::kFileNotFound:
        return "ファイルが見つかりません。";
    case err::kDeviceIo:
        return "デバイス I/O エラーです。";
    case err::kDiskFull:
        return "ディスクの空き容量が不足しています。";
    case err::kDeviceUnavailable:
        return "デバイスが準備されていません。";
    case err::kPermissionDenied:
        return "書き込みできません。";
    case err::kPathFileAccess:
        return "パス名が無効です。";
    case err::kPathNotFound:
        return "パスが見つかりません。";
    default:
        return "アプリケーション定義またはオブジェクト定義のエラーです。";
    }
}

}  // namespace qb
