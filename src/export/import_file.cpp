#include "export/import_file.h"

#include <system_error>

#include "common/run_error.h"

namespace qb {

namespace {
constexpr std::size_t kBufferSize = std::size_t{256} * 1024;
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

ImportFile::ImportFile(const std::filesystem::path& path, const LineRules& rules) : lines_(rules) {
    CheckOutputFolder(path.parent_path());
    // A folder of that name is refused as it is on POSIX systems (Windows would say
    // "access denied").
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw RunError(err::kPathFileAccess, "output name is a folder: " + path.string());
    }
    file_.emplace(path);
    pending_.reserve(kBufferSize);
}

ImportFile::ImportFile(ByteSink& sink, const LineRules& rules) : sink_(&sink), lines_(rules) {
    pending_.reserve(kBufferSize);
}

ImportFile::~ImportFile() {
    if (!closed_) {
        Flush();  // the records written before a failure stay in the file
    }
}

void ImportFile::Flush() {
    if (failureNumber_ == 0 && !pending_.empty()) {
        try {
            if (sink_ != nullptr) {
                sink_->Put(pending_);
            } else {
                file_->Write(pending_);
            }
        } catch (const RunError& e) {
            failureNumber_ = e.Number();
        }
    }
    pending_.clear();
}

void ImportFile::WriteLine(std::u16string_view text) {
    Write(text);
    EndLine();
}

void ImportFile::Write(std::u16string_view text) {
    if (failureNumber_ != 0) {
        return;
    }
    lines_.Feed(text, pending_);
    if (pending_.size() >= kBufferSize) {
        Flush();
    }
}

void ImportFile::EndLine() {
    if (failureNumber_ != 0) {
        return;
    }
    lines_.EndLine(pending_);
    if (pending_.size() >= kBufferSize) {
        Flush();
    }
}

void ImportFile::Close() {
    if (closed_) {
        return;
    }
    closed_ = true;
    Flush();
    try {
        if (file_) {
            file_->Close();
        }
    } catch (const RunError& e) {
        if (failureNumber_ == 0) {
            failureNumber_ = e.Number();
        }
    }
    if (failureNumber_ != 0) {
        throw RunError(failureNumber_, "writing the import file failed");
    }
}

}  // namespace qb
