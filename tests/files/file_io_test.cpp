// The file layer on every platform, under Japanese names: the replacement of a file, the
// end of the new file and the failure numbers on the way.

#ifdef _WIN32
#include <windows.h>
#endif

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "files/file_io.h"
#include "files/temp_files.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    static void Write(const fs::path& path, const std::string& bytes) { qbtest::WriteBytes(path, bytes); }
    static std::string Read(const fs::path& path) { return qbtest::ReadBytes(path); }
    static std::size_t Entries(const fs::path& folder) {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
    static void OpenAndRead(const fs::path& path) {
        qb::InputFile in(path);
        std::string buffer(8, '\0');
        (void)in.Read(buffer);
    }
    static void Create(const fs::path& path) { qb::OutputFile out(path); }
    static void Replace(const fs::path& path) { qb::ReplacementFile out(path); }
    static int NumberOf(void (*action)(const fs::path&), const fs::path& path) {
        return qbtest::RunErrorNumber([&] { action(path); });
    }

    qbtest::TempDir temp_{u8"qb-ブログ-"};
    const fs::path dir_ = temp_.Path();
};

// The new file is made beside the target under a work file's name, and ends renamed over
// the target, kept under another name or removed; the target keeps its bytes until then.
TEST_F(FileIo, TheNewFileIsCommittedKeptOrRemoved) {
    const fs::path target = dir_ / u8"出力.txt";
    Write(target, "old");
    {
        qb::ReplacementFile kept(target);
        EXPECT_TRUE(qb::IsTempName(kept.Path().filename()));
        EXPECT_EQ(kept.Path().parent_path(), dir_);
        kept.Write("partial");
        EXPECT_TRUE(kept.KeepAs(dir_ / "partial.txt"));
        EXPECT_FALSE(kept.KeepAs(dir_ / "again.txt"));
        qb::ReplacementFile lost(target);
        EXPECT_FALSE(lost.KeepAs(dir_ / "no folder" / "a.txt"));
    }
    EXPECT_EQ(Read(dir_ / "partial.txt"), "partial");
    EXPECT_EQ(Read(target), "old");
    {
        qb::ReplacementFile byName(target);  // written by another writer after Close()
        byName.Close();
        Write(byName.Path(), "by name");
        byName.Commit();
    }
    EXPECT_EQ(Read(target), "by name");
    {
        qb::ReplacementFile file(target);
        file.Write("\x82\xA0\r\n");
        file.Commit();
    }
    EXPECT_EQ(Entries(dir_), 2U);
    qb::InputFile in(target);
    std::string buffer(64, '\0');
    EXPECT_EQ(in.Read(buffer), "\x82\xA0\r\n");
    EXPECT_EQ(in.Read(buffer), "");
    in.Close();
    EXPECT_EQ(in.Read(buffer), "");
}

// The work files of a set add "-" and a number to a work file's name; the clean-up of
// stale work files knows them by that.
TEST_F(FileIo, NumberedWorkFileNames) {
    for (const char* name : {".quillbrook-Ab3xY9-1", ".quillbrook-Ab3xY9-120"}) {
        EXPECT_TRUE(qb::IsTempName(name)) << name;
    }
    for (const char* name :
         {".quillbrook-Ab3xY9-0", ".quillbrook-Ab3xY9-", ".quillbrook-Ab3xY9-1x", ".quillbrook-Ab3xY-1"}) {
        EXPECT_FALSE(qb::IsTempName(name)) << name;
    }
}

#ifndef _WIN32
// A signal removes every work file of a set, however many, and the program ends by it.
TEST_F(FileIo, ASignalRemovesEveryFileOfASet) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // The handler is the file layer's: made by the first work file, or inherited.
        qb::ReplacementFile first(dir_ / "out.txt");
        qb::ReplacementSet set(first.Path());
        for (int i = 1; i <= 120; ++i) {
            set.Add();
            set.Write("part");
        }
        ::raise(SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(Entries(dir_), 0U);
}
#endif

// The numbers a user sees, the same under Windows (Wine) as on Linux.
TEST_F(FileIo, FailuresCarryTheirNumbers) {
#ifdef _WIN32
    constexpr int kMissingFolderToRead = qb::err::kPathNotFound;  // told apart from a missing file
#else
    constexpr int kMissingFolderToRead = qb::err::kFileNotFound;
#endif
    const fs::path folder = dir_ / u8"フォルダ.txt";
    fs::create_directories(folder);
    const auto refusing = qbtest::FolderThatRefusesNewFiles();
    const struct {
        const char* name;
        void (*action)(const fs::path&);
        fs::path path;
        int number;
    } cases[] = {
        {"read a missing file", OpenAndRead, dir_ / u8"無い.txt", qb::err::kFileNotFound},
        {"read in a missing folder", OpenAndRead, dir_ / u8"無い" / "a.txt", kMissingFolderToRead},
        {"read a folder", OpenAndRead, folder, qb::err::kPathFileAccess},
        {"create in a missing folder", Create, dir_ / u8"無い" / "a.txt", qb::err::kPathNotFound},
        {"replace in a missing folder", Replace, dir_ / u8"無い" / "a.txt", qb::err::kPathNotFound},
        {"replace a folder", Replace, folder, qb::err::kPathFileAccess},
        {"create where no file may be made", Create, refusing.value_or(fs::path()) / "a.txt",
         qb::err::kPermissionDenied},
        {"replace where no file may be made", Replace, refusing.value_or(fs::path()) / "a.txt",
         qb::err::kPermissionDenied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.path.parent_path().empty()) {
            continue;  // no folder that refuses new files here
        }
        EXPECT_EQ(NumberOf(c.action, c.path), c.number);
    }
    EXPECT_EQ(Entries(dir_), 1U);  // no new file left behind
#ifdef _WIN32
    EXPECT_EQ(NumberOf(OpenAndRead, dir_ / L"bad|name.txt"), qb::err::kBadFileName);
    // A file that another program holds open without letting it be replaced stays as it is.
    const fs::path held = dir_ / u8"出力.txt";
    Write(held, "A\r\n");
    const HANDLE other = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(NumberOf(Replace, held), qb::err::kPermissionDenied);
    CloseHandle(other);
    EXPECT_EQ(Read(held), "A\r\n");
    EXPECT_EQ(Entries(dir_), 2U);
#endif
}

}  // namespace
