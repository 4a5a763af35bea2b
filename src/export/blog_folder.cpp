#include "export/blog_folder.h"

#include <algorithm>
#include <compare>
#include <filesystem>
#include <system_error>
#include <vector>

#include "common/run_error.h"
#include "files/paths.h"

namespace qb {

namespace {

char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') {
        return static_cast<char16_t>(c - u'A' + u'a');
    }
    if (c >= u'Ａ' && c <= u'Ｚ') {
        return static_cast<char16_t>(c - u'Ａ' + u'ａ');
    }
    return c;
}

// Case-insensitive name order; names equal but for case keep a fixed order.
bool NameLess(const std::u16string& a, const std::u16string& b) {
    const auto folded = std::lexicographical_compare_three_way(
        a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) { return FoldCase(x) <=> FoldCase(y); });
    if (std::is_neq(folded)) {
        return std::is_lt(folded);
    }
    return a < b;
}

[[noreturn]] void ThrowListingFailure(const std::error_code& ec, const std::filesystem::path& folder) {
    if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory) {
        throw RunError(err::kPathNotFound, "cannot list " + folder.string());
    }
    ThrowErrorCode(ec, "cannot list " + folder.string());
}

// Names of the visible entries of folder that are folders (wantFolders) or regular files.
std::vector<std::u16string> ListNames(const std::filesystem::path& folder, bool wantFolders) {
    std::vector<std::u16string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) {
        ThrowListingFailure(ec, folder);
    }
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            ThrowListingFailure(ec, folder);
        }
        std::u16string name = FromPath(it->path().filename());
        if (name.empty() || name.front() == u'.') {
            continue;  // hidden
        }
        std::error_code typeEc;
        const bool keep = wantFolders ? it->is_directory(typeEc) : it->is_regular_file(typeEc);
        if (keep && !typeEc) {
            names.push_back(std::move(name));
        }
    }
    if (ec) {
        ThrowListingFailure(ec, folder);
    }
    std::sort(names.begin(), names.end(), NameLess);
    return names;
}

}  // namespace

std::vector<ListedArticle> BlogFolderArticles(const std::u16string& base) {
    if (base.empty()) {
        throw RunError(err::kPathNotFound, "no blog folder");
    }
    const std::u16string prefix = WithTrailingSeparator(base);
    const std::vector<std::u16string> subFolders = ListNames(ToPath(prefix), true);
    std::vector<ListedArticle> articles;
    for (const std::u16string& sub : subFolders) {
        const std::u16string folder = WithTrailingSeparator(prefix + sub);
        for (std::u16string& file : ListNames(ToPath(folder), false)) {
            std::u16string path = folder + file;
            articles.push_back({std::move(file), std::move(path)});
        }
    }
    return articles;
}

}  // namespace qb
