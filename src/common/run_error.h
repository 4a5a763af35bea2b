#pragma once
// Numbered failures. Every failure that ends an export run or is shown to the user
// carries one number of the fixed table below, whatever the system's own error was, so
// that messages such as "書き込み異常終了です。53" read the same on every platform.

#include <stdexcept>
#include <string>
#include <system_error>

namespace qb {

namespace err {
inline constexpr int kInvalidCall = 5;         // invalid procedure call or argument
inline constexpr int kOverflow = 6;            // a value does not fit its byte or integer
inline constexpr int kOutOfMemory = 7;         // memory ran out during a run
inline constexpr int kSubscript = 9;           // index past the end of an array
inline constexpr int kTypeMismatch = 13;       // text that does not denote a date
inline constexpr int kInternalError = 51;      // any other failure of the program itself
inline constexpr int kBadFileName = 52;        // bad file name or number
inline constexpr int kFileNotFound = 53;       // file not found
inline constexpr int kDeviceIo = 57;           // device I/O error
inline constexpr int kDiskFull = 61;           // disk full
inline constexpr int kDeviceUnavailable = 68;  // device unavailable
inline constexpr int kPermissionDenied = 70;   // permission denied
inline constexpr int kPathFileAccess = 75;     // path/file access error
inline constexpr int kPathNotFound = 76;       // path not found
}  // namespace err

class RunError : public std::runtime_error {
public:
    explicit RunError(int number, const std::string& detail = {});
    [[nodiscard]] int Number() const noexcept { return number_; }

private:
    int number_;
};

// Maps an operating-system error (errno value) to the failure number a user sees.
[[nodiscard]] int ErrorNumberFromErrno(int errnoValue) noexcept;

// Throws the RunError for an errno value, with a detail text for logs and tests.
[[noreturn]] void ThrowErrno(int errnoValue, const std::string& detail = {});

#ifdef _WIN32
// The same for a Windows error (GetLastError), mapped as the errno value of that meaning.
[[nodiscard]] int ErrorNumberFromWin32(unsigned long code) noexcept;
[[noreturn]] void ThrowWin32(unsigned long code, const std::string& detail = {});
#endif

// The failure number of an error code from the standard library (std::filesystem):
// errno values, and on Windows the system's own codes. Every std::error_code becomes a
// failure number here and nowhere else.
[[nodiscard]] int ErrorNumberFromErrorCode(const std::error_code& ec) noexcept;
[[noreturn]] void ThrowErrorCode(const std::error_code& ec, const std::string& detail = {});

// The platform's description of a failure number, as shown in message boxes
// (e.g. 68 gives "デバイスが準備されていません。"). UTF-8.
[[nodiscard]] std::string ErrorDescription(int number);

}  // namespace qb
