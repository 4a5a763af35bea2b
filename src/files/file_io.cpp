// The file layer's rules, the same on every platform: reading in chunks, writing every
// byte, closing once, and the life of a replacement's new file (its name, its removal,
// its rename). The calls into the system are the primitives of file_platform.h.

#include <algorithm>
#include <mutex>
#include <string>
#include <utility>

#include "common/run_error.h"
#include "files/file_platform.h"
#include "files/temp_files.h"

namespace qb {

namespace detail {
constinit WorkFileNames gWorkFiles;
}  // namespace detail

using namespace detail;

namespace {

// New names tried before a name that is taken counts as a failure.
constexpr int kNameAttempts = 100;

// The folder that holds path; "." for a bare file name.
std::filesystem::path FolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// What was written is lost whatever the system's reason: a write, or the close after
// writing, fails as a full disk (61) or else as a device I/O error (57).
template <typename Step>
void AsWriting(Step&& step) {
    try {
        step();
    } catch (const RunError& e) {
        if (e.Number() == err::kDiskFull || e.Number() == err::kDeviceIo) {
            throw;
        }
        throw RunError(err::kDeviceIo, e.what());
    }
}

void WriteAll(FileHandle file, std::string_view bytes, const std::filesystem::path& path) {
    AsWriting([&] {
        while (!bytes.empty()) {
            bytes.remove_prefix(WriteSome(file, bytes, path));
        }
    });
}

// Closes file unless it is closed already, and marks it closed.
void CloseOnce(FileHandle& file, const std::filesystem::path& path) {
    if (file == kNoFile) {
        return;
    }
    const FileHandle f = file;
    file = kNoFile;
    AsWriting([&] { Close(f, path); });
}

// A link is followed, so that the file it names gets the new content.
std::filesystem::path Followed(const std::filesystem::path& target) {
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        std::filesystem::path file = std::filesystem::canonical(target, ec);
        if (ec) {
            ThrowErrorCode(ec, "resolve " + Shown(target));
        }
        return file;
    }
    return target;
}

void InstallHandlerOnce() {
    static std::once_flag handlerInstalled;
    std::call_once(handlerInstalled, InstallRemovalHandler);
}

}  // namespace

InputFile::InputFile(const std::filesystem::path& path) : path_(path), fd_(OpenToRead(path)) {}

InputFile::~InputFile() { Close(); }

void InputFile::Close() noexcept {
    if (fd_ != kNoFile) {
        CloseQuietly(fd_);
        fd_ = kNoFile;
    }
}

std::string_view InputFile::Read(std::string& buffer) {
    if (fd_ == kNoFile) {
        return {};
    }
    return {buffer.data(), ReadSome(fd_, buffer.data(), buffer.size(), path_)};
}

OutputFile::OutputFile(const std::filesystem::path& path) : path_(path), fd_(CreateToWrite(path)) {}

OutputFile::~OutputFile() {
    if (fd_ != kNoFile) {
        CloseQuietly(fd_);
    }
}

void OutputFile::Write(std::string_view bytes) { WriteAll(fd_, bytes, path_); }

void OutputFile::Close() { CloseOnce(fd_, path_); }

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(Followed(target)) {
    const TargetFacts facts = CheckReplaceable(target_);
    InstallHandlerOnce();

    // A short name of our own: one built from target's name could be longer than the
    // folder allows when target's name is near the limit. The name is kept for the
    // handler before the file is made, and forgotten when it could not be made.
    const std::filesystem::path folder = FolderOf(target_);
    WithEndingHeld([&] {
        for (int attempt = 1; fd_ == kNoFile; ++attempt) {
            temp_ = folder / NewTempName();
            slot_ = gWorkFiles.Keep(temp_.native());
            try {
                fd_ = CreateNew(temp_, attempt == kNameAttempts);
            } catch (...) {
                gWorkFiles.Forget(slot_);
                throw;
            }
            if (fd_ == kNoFile) {
                gWorkFiles.Forget(slot_);
            }
        }
    });
    if (facts.exists) {
        try {
            CopyPermissions(fd_, facts, temp_);
        } catch (...) {
            CloseQuietly(fd_);
            fd_ = kNoFile;
            RemoveQuietly(temp_);
            gWorkFiles.Forget(slot_);
            throw;
        }
    }
}

ReplacementFile::~ReplacementFile() {
    if (fd_ != kNoFile) {
        CloseQuietly(fd_);
    }
    if (!done_) {
        RemoveQuietly(temp_);
    }
    gWorkFiles.Forget(slot_);
}

void ReplacementFile::Write(std::string_view bytes) { WriteAll(fd_, bytes, temp_); }

void ReplacementFile::Close() { CloseOnce(fd_, temp_); }

void ReplacementFile::Commit() {
    // Written by others after Close(): opened again by name to flush it.
    FileHandle file = fd_;
    fd_ = kNoFile;
    if (file == kNoFile) {
        file = OpenToFlush(temp_);
    }
    FlushAndClose(file, temp_);
    MoveOver(temp_, target_);
    done_ = true;
    gWorkFiles.Forget(slot_);
}

bool ReplacementFile::KeepAs(const std::filesystem::path& other) noexcept {
    if (done_) {
        return false;
    }
    if (fd_ != kNoFile) {
        CloseQuietly(fd_);
        fd_ = kNoFile;
    }
    const bool kept = MoveQuietly(temp_, other);
    if (!kept) {
        RemoveQuietly(temp_);
    }
    done_ = true;
    gWorkFiles.Forget(slot_);
    return kept;
}

ReplacementSet::ReplacementSet(std::filesystem::path base) : base_(std::move(base)) {
    InstallHandlerOnce();
    slot_ = gWorkFiles.KeepFamily(base_.native());
}

ReplacementSet::~ReplacementSet() {
    if (fd_ != kNoFile) {
        CloseQuietly(fd_);
    }
    if (!done_) {
        for (const std::filesystem::path& member : members_) {
            RemoveQuietly(member);
        }
    }
    gWorkFiles.Forget(slot_);
}

void ReplacementSet::Close() {
    if (fd_ != kNoFile) {
        StartWriting(fd_);  // written out while the next part is made
        CloseOnce(fd_, members_.back());
    }
}

void ReplacementSet::Add() {
    Close();
    std::filesystem::path member = base_;
    member += "-" + std::to_string(members_.size() + 1);
    // Counted for the handler before the file is made; a file of that name is one a killed
    // run of the same base left, and is emptied.
    gWorkFiles.AddMember(slot_);
    members_.push_back(member);
    fd_ = CreateToWrite(member);
}

void ReplacementSet::Write(std::string_view bytes) { WriteAll(fd_, bytes, members_.back()); }

void ReplacementSet::Commit(const std::vector<std::filesystem::path>& targets) {
    if (targets.size() != members_.size()) {
        throw RunError(err::kInternalError, "a replacement set needs one target for each of its files");
    }
    Close();
    std::vector<std::filesystem::path> followed;
    std::vector<TargetFacts> facts;
    for (const std::filesystem::path& target : targets) {
        followed.push_back(Followed(target));
        facts.push_back(CheckReplaceable(followed.back()));
    }
    // Flushed together at the end, when the system has had them all to write out.
    for (std::size_t i = 0; i < members_.size(); ++i) {
        const FileHandle file = OpenToFlush(members_[i]);
        if (facts[i].exists) {
            try {
                CopyPermissions(file, facts[i], members_[i]);
            } catch (...) {
                CloseQuietly(file);
                throw;
            }
        }
        AsWriting([&] { FlushAndClose(file, members_[i]); });
    }
    WithEndingHeld([&] {
        std::vector<std::filesystem::path> folders;
        for (std::size_t i = 0; i < members_.size(); ++i) {
            Rename(members_[i], followed[i]);
            if (std::find(folders.begin(), folders.end(), followed[i].parent_path()) == folders.end()) {
                folders.push_back(followed[i].parent_path());
            }
        }
        done_ = true;
        gWorkFiles.Forget(slot_);
        for (const std::filesystem::path& folder : folders) {
            SyncFolder(folder);
        }
    });
}

}  // namespace qb
