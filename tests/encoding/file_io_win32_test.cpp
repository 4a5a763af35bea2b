// The Windows file layer: Japanese names, the replacement of an existing file and the
// failure numbers of the Windows errors on the way.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "encoding/file_io.h"
#include "export/reencode.h"

namespace {

namespace fs = std::filesystem;

class FileIoWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / (L"qb-ブログ-" + std::to_wstring(rd()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    static void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    [[nodiscard]] std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
    static int NumberOf(void (*action)(const fs::path&), const fs::path& path) {
        try {
            action(path);
        } catch (const qb::RunError& e) {
            return e.Number();
        }
        return 0;
    }

    fs::path dir_;
};

TEST_F(FileIoWin32, JapaneseNamesAreReadAndReplaced) {
    const fs::path folder = dir_ / L"日記";
    fs::create_directories(folder);
    const fs::path target = folder / L"出力.txt";
    Write(target, "old content, longer than the new one");
    {
        qb::ReplacementFile file(target);
        file.Write("\x82\xA0\r\n");
        file.Commit();
    }
    EXPECT_EQ(Read(target), "\x82\xA0\r\n");
    qb::InputFile in(target);
    std::string buffer(64, '\0');
    EXPECT_EQ(in.Read(buffer), "\x82\xA0\r\n");
    EXPECT_EQ(in.Read(buffer), "");
    in.Close();
    EXPECT_EQ(in.Read(buffer), "");
    // Re-encoding reads the file and replaces it under its Japanese name.
    EXPECT_EQ(qb::ReencodeOutputFile(target, qb::OutputEncoding::Utf8), qb::ReencodeResult::Done);
    EXPECT_EQ(Read(target), "\xE3\x81\x82\r\n");
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator())), 1U);
}

TEST_F(FileIoWin32, OpeningFailuresCarryTheNumbersOfOtherPlatforms) {
    fs::create_directories(dir_ / L"フォルダ.txt");
    Write(dir_ / L"plain", "x");
    const auto open = [](const fs::path& p) { qb::InputFile in(p); };
    const auto replace = [](const fs::path& p) { qb::ReplacementFile out(p); };
    EXPECT_EQ(NumberOf(open, dir_ / L"無い.txt"), qb::err::kFileNotFound);
    EXPECT_EQ(NumberOf(open, dir_ / L"無い" / L"a.txt"), qb::err::kPathNotFound);
    EXPECT_EQ(NumberOf(open, dir_ / L"フォルダ.txt"), qb::err::kPathFileAccess);
    EXPECT_EQ(NumberOf(open, dir_ / L"bad|name.txt"), qb::err::kBadFileName);
    EXPECT_EQ(NumberOf(replace, dir_ / L"無い" / L"a.txt"), qb::err::kPathNotFound);
    EXPECT_EQ(Entries(), 2U);  // no new file left behind
}

// A file that another program holds open without letting it be replaced stays as it is:
// the replacement fails with 70 and the new file is removed.
TEST_F(FileIoWin32, AFileHeldOpenElsewhereIsNotReplaced) {
    const fs::path target = dir_ / L"出力.txt";
    Write(target, "A\r\n");
    const HANDLE other = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    int number = 0;
    try {
        qb::ReencodeOutputFile(target, qb::OutputEncoding::EucJp);
    } catch (const qb::RunError& e) {
        number = e.Number();
    }
    CloseHandle(other);
    EXPECT_EQ(number, qb::err::kPermissionDenied);
    EXPECT_EQ(Read(target), "A\r\n");
    EXPECT_EQ(Entries(), 1U);
}

}  // namespace
