#pragma once
// What an importer would lose of a finished import file, told after "書き込み正常終了":
// characters written as "?", titles cut to the line limit, tags too long to break, and
// records whose title and DATE repeat an earlier one (WordPress skips them as already
// there). Also where an EUC-JP export met a character EUC-JP does not have.

#include <cstdint>
#include <string>
#include <vector>

#include "export/long_lines.h"

namespace qb {

class LossReport {
public:
    static constexpr std::size_t kNamesShown = 3;

    // The losses of the record of the article listed as name.
    void Add(const std::u16string& name, const LineLosses& losses);
    // The record of name repeats the title and DATE of an earlier record.
    void AddRepeat(const std::u16string& name);

    // The report, one line per kind of loss; empty when nothing is lost.
    [[nodiscard]] std::u16string Text() const;

private:
    struct Case {
        std::uint64_t count = 0;     // how often
        std::uint64_t articles = 0;  // in how many articles
        std::vector<std::u16string> names;

        void Add(const std::u16string& name, std::uint64_t n);
    };
    Case questionMarks_, titlesCut_, tagsWhole_, repeats_;
};

// Where the re-encoding to EUC-JP fails: the article listed as name, the line and the
// character.
[[nodiscard]] std::u16string EucGapText(const std::u16string& name, const EucGap& gap);

}  // namespace qb
