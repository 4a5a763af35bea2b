#include <windows.h>

#include <cerrno>
#include <system_error>

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "support/test_support.h"

namespace {

// Each Windows error gives the number of the errno value of the same meaning.
TEST(RunErrorWin32, MapsWindowsErrorsAsTheirErrnoValues) {
    const struct {
        DWORD code;
        int errnoValue;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, ENOENT},
        {ERROR_PATH_NOT_FOUND, ENOTDIR},
        {ERROR_ACCESS_DENIED, EACCES},
        {ERROR_SHARING_VIOLATION, EACCES},
        {ERROR_WRITE_PROTECT, EROFS},
        {ERROR_DISK_FULL, ENOSPC},
        {ERROR_HANDLE_DISK_FULL, ENOSPC},
        {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
        {ERROR_INVALID_NAME, EINVAL},
        {ERROR_ALREADY_EXISTS, EEXIST},
        {ERROR_NOT_READY, ENXIO},
        {ERROR_INVALID_DRIVE, ENODEV},
        {ERROR_CRC, EIO},
        {ERROR_GEN_FAILURE, EIO},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qb::ErrorNumberFromWin32(c.code), qb::ErrorNumberFromErrno(c.errnoValue)) << "error " << c.code;
    }
    // The numbers themselves, as users see them.
    EXPECT_EQ(qb::ErrorNumberFromWin32(ERROR_FILE_NOT_FOUND), 53);
    EXPECT_EQ(qb::ErrorNumberFromWin32(ERROR_PATH_NOT_FOUND), 76);
    EXPECT_EQ(qb::ErrorNumberFromWin32(ERROR_SHARING_VIOLATION), 70);
    EXPECT_EQ(qb::ErrorNumberFromWin32(ERROR_NOT_READY), 68);
    EXPECT_EQ(qb::ErrorNumberFromWin32(ERROR_DISK_FULL), 61);
    EXPECT_EQ(qb::ErrorNumberFromWin32(ERROR_INVALID_NAME), 52);
    EXPECT_EQ(qb::ErrorNumberFromWin32(ERROR_NOT_SUPPORTED), 75);  // anything else
}

TEST(RunErrorWin32, ErrorCodesOfBothCategories) {
    EXPECT_EQ(qb::ErrorNumberFromErrorCode(std::error_code(ERROR_PATH_NOT_FOUND, std::system_category())), 76);
    EXPECT_EQ(qb::ErrorNumberFromErrorCode(std::error_code(ENOENT, std::generic_category())), 53);
    EXPECT_EQ(qbtest::RunErrorNumber([] { qb::ThrowWin32(ERROR_SHARING_VIOLATION, "replace"); }), 70);
}

}  // namespace
