#include "files/temp_files.h"

#include <algorithm>
#include <random>
#include <system_error>
#include <type_traits>

namespace qb {

namespace {
constexpr std::string_view kPrefix = ".quillbrook-";
constexpr std::size_t kRandomChars = 6;
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Compares in the platform's own characters, so that no name needs converting.
template <class Char>
bool HasPattern(std::basic_string_view<Char> name) {
    constexpr std::size_t kBase = kPrefix.size() + kRandomChars;
    if (name.size() < kBase) {
        return false;
    }
    if (name.size() > kBase) {
        // "-" and one or more digits, the first not 0.
        const std::basic_string_view<Char> number = name.substr(kBase + 1);
        const auto digit = [](Char c) { return c >= Char{'0'} && c <= Char{'9'}; };
        if (name[kBase] != Char{'-'} || number.empty() || number.size() > 9 || number.front() == Char{'0'} ||
            !std::all_of(number.begin(), number.end(), digit)) {
            return false;
        }
        name = name.substr(0, kBase);
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned long c = static_cast<std::make_unsigned_t<Char>>(name[i]);
        const bool fits = i < kPrefix.size()
                              ? c == static_cast<unsigned char>(kPrefix[i])
                              : c < 0x80 && kAlphabet.find(static_cast<char>(c)) != std::string_view::npos;
        if (!fits) {
            return false;
        }
    }
    return true;
}
}  // namespace

std::string NewTempName() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string name(kPrefix);
    for (std::size_t i = 0; i < kRandomChars; ++i) {
        name += kAlphabet[pick(random)];
    }
    return name;
}

bool IsTempName(const std::filesystem::path& fileName) {
    return HasPattern(std::basic_string_view<std::filesystem::path::value_type>(fileName.native()));
}

void RemoveStaleTempFiles(const std::filesystem::path& folder, std::chrono::seconds age) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto before = fs::file_time_type::clock::now() - age;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        // A link is never ours, whatever it points to.
        if (!IsTempName(it->path().filename()) || it->is_symlink(entryError) || !it->is_regular_file(entryError)) {
            continue;
        }
        const auto written = fs::last_write_time(it->path(), entryError);
        if (!entryError && written < before) {
            fs::remove(it->path(), entryError);
        }
    }
}

}  // namespace qb
