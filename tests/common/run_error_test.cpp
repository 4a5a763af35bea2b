#include "common/run_error.h"

#include <cerrno>

#include <gtest/gtest.h>

namespace {

TEST(RunError, MapsOperatingSystemErrorsToFailureNumbers) {
    const struct {
        int errnoValue;
        int number;
    } cases[] = {
        {ENOENT, 53},    {ENOTDIR, 76},      {EACCES, 70}, {EPERM, 70}, {EROFS, 70},
        {ENOSPC, 61},    {ENAMETOOLONG, 52}, {EISDIR, 75}, {ENXIO, 68}, {EIO, 57},
#ifdef EDQUOT
        {EDQUOT, 61},
#endif
#ifdef ENOMEDIUM
        {ENOMEDIUM, 68},
#endif
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qb::ErrorNumberFromErrno(c.errnoValue), c.number) << "errno " << c.errnoValue;
    }
}

TEST(RunError, CarriesItsNumberThroughThrowErrno) {
    try {
        qb::ThrowErrno(ENOENT, "/no/such/file");
        FAIL() << "ThrowErrno returned";
    } catch (const qb::RunError& e) {
        EXPECT_EQ(e.Number(), 53);
        EXPECT_NE(std::string(e.what()).find("/no/such/file"), std::string::npos);
    }
}

TEST(RunError, DescribesDeviceUnavailableAsTheOldPlatformDid) {
    EXPECT_EQ(qb::ErrorDescription(68), "デバイスが準備されていません。");
}

}  // namespace
