// The file layer on every platform: Japanese names, the replacement of an existing file,
// the end of the new file (renamed over the old one, kept under another name, or
// removed) and the failure numbers on the way.

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "files/file_io.h"
#include "files/temp_files.h"

namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / (fs::path(u8"qb-ブログ-") += std::to_string(rd()));
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
    static std::size_t Entries(const fs::path& folder) {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
    static void OpenAndRead(const fs::path& path) {
        qb::InputFile in(path);
        std::string buffer(8, '\0');
        (void)in.Read(buffer);
    }
    static void Replace(const fs::path& path) { qb::ReplacementFile out(path); }
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

TEST_F(FileIo, JapaneseNamesAreReadAndReplaced) {
    const fs::path folder = dir_ / u8"日記";
    fs::create_directories(folder);
    const fs::path target = folder / u8"出力.txt";
    Write(target, "old content, longer than the new one");
    {
        qb::ReplacementFile file(target);
        file.Write("\x82\xA0\r\n");
        file.Commit();
    }
    EXPECT_EQ(Read(target), "\x82\xA0\r\n");
    EXPECT_EQ(Entries(folder), 1U);
    qb::InputFile in(target);
    std::string buffer(64, '\0');
    EXPECT_EQ(in.Read(buffer), "\x82\xA0\r\n");
    EXPECT_EQ(in.Read(buffer), "");
    in.Close();
    EXPECT_EQ(in.Read(buffer), "");
}

// The new file is named as a work file and ends renamed over the target, kept under
// another name or removed; the target keeps its bytes until a commit.
TEST_F(FileIo, TheNewFileIsCommittedKeptOrRemoved) {
    const fs::path target = dir_ / "out.txt";
    Write(target, "old");
    {
        qb::ReplacementFile dropped(target);
        dropped.Write("lost");
        EXPECT_TRUE(qb::IsTempName(dropped.Path().filename()));
        EXPECT_EQ(dropped.Path().parent_path(), dir_);
    }
    EXPECT_EQ(Entries(dir_), 1U);
    {
        qb::ReplacementFile kept(target);
        kept.Write("partial");
        EXPECT_TRUE(kept.KeepAs(dir_ / "partial.txt"));
        EXPECT_FALSE(kept.KeepAs(dir_ / "again.txt"));
    }
    EXPECT_EQ(Read(dir_ / "partial.txt"), "partial");
    {
        qb::ReplacementFile lost(target);
        EXPECT_FALSE(lost.KeepAs(dir_ / "no folder" / "a.txt"));
    }
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Entries(dir_), 2U);
    {
        // Written by another writer by its name after Close(), then committed.
        qb::ReplacementFile byName(target);
        byName.Close();
        Write(byName.Path(), "by name");
        byName.Commit();
    }
    EXPECT_EQ(Read(target), "by name");
    EXPECT_EQ(Entries(dir_), 2U);
}

TEST_F(FileIo, FailuresCarryTheirNumbers) {
#ifdef _WIN32
    constexpr int kMissingFolder = qb::err::kPathNotFound;  // told apart from a missing file
#else
    constexpr int kMissingFolder = qb::err::kFileNotFound;
#endif
    const fs::path folder = dir_ / u8"フォルダ.txt";
    fs::create_directories(folder);
    EXPECT_EQ(NumberOf(OpenAndRead, dir_ / u8"無い.txt"), qb::err::kFileNotFound);
    EXPECT_EQ(NumberOf(OpenAndRead, dir_ / u8"無い" / "a.txt"), kMissingFolder);
    EXPECT_EQ(NumberOf(OpenAndRead, folder), qb::err::kPathFileAccess);
    EXPECT_EQ(NumberOf(Replace, dir_ / u8"無い" / "a.txt"), kMissingFolder);
    EXPECT_EQ(NumberOf(Replace, folder), qb::err::kPathFileAccess);
#ifdef _WIN32
    EXPECT_EQ(NumberOf(OpenAndRead, dir_ / L"bad|name.txt"), qb::err::kBadFileName);
#endif
    EXPECT_EQ(Entries(dir_), 1U);  // no new file left behind
}

#ifdef _WIN32
// A file that another program holds open without letting it be replaced stays as it is:
// the replacement fails with 70 and leaves no new file.
TEST_F(FileIo, AFileHeldOpenElsewhereIsNotReplaced) {
    const fs::path target = dir_ / u8"出力.txt";
    Write(target, "A\r\n");
    const HANDLE other = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const int number = NumberOf(Replace, target);
    CloseHandle(other);
    EXPECT_EQ(number, qb::err::kPermissionDenied);
    EXPECT_EQ(Read(target), "A\r\n");
    EXPECT_EQ(Entries(dir_), 1U);
}
#endif

}  // namespace
