#include "encoding/kanji_stream.h"

#include <string>

#include "common/run_error.h"

namespace qb {

namespace {

constexpr char kEsc = 0x1B;

[[noreturn]] void Overflow(int value) {
    throw RunError(err::kOverflow, "computed byte " + std::to_string(value) + " out of range");
}

std::uint8_t ToByte(int value) {
    if (value < 0 || value > 0xFF) {
        Overflow(value);
    }
    return static_cast<std::uint8_t>(value);
}

[[noreturn]] void PastEnd(const char* what) {
    throw RunError(err::kSubscript, what);
}

}  // namespace

// ---- Stage 1 ---------------------------------------------------------------------

void SjisToJisStream::Escape(JisMode to, std::string& jis) {
    if (mode_ == to) {
        return;
    }
    static constexpr char kKanji[] = {kEsc, 0x24, 0x42};
    static constexpr char kRoman[] = {kEsc, 0x28, 0x4A};
    static constexpr char kKana[] = {kEsc, 0x28, 0x49};
    const char* seq = to == JisMode::Kanji ? kKanji : to == JisMode::Roman ? kRoman : kKana;
    jis.append(seq, 3);
    mode_ = to;
}

void SjisToJisStream::Pair(int c1, int c2, std::string& jis) {
    if (c1 >= 0xE0) {
        c1 -= 0x40;
    }
    if (c2 >= 0x80) {
        c2 -= 1;
    }
    if (c2 >= 0x9E) {
        c1 = (c1 - 0x70) * 2;
        c2 -= 0x7D;
    } else {
        c1 = (c1 - 0x70) * 2 - 1;
        c2 -= 0x1F;
    }
    jis.push_back(static_cast<char>(ToByte(c1)));
    jis.push_back(static_cast<char>(ToByte(c2)));
}

void SjisToJisStream::Feed(std::string_view sjis, std::string& jis) {
    if (sjis.empty()) {
        return;
    }
    any_ = true;
    const std::size_t n = sjis.size();
    std::size_t i = 0;
    if (haveLead_) {  // the lead byte of the last piece and its second byte
        haveLead_ = false;
        Pair(lead_, static_cast<std::uint8_t>(sjis[0]), jis);
        i = 1;
    }
    while (i < n) {
        const int b = static_cast<std::uint8_t>(sjis[i]);
        if ((b >= 0x80 && b <= 0xA0) || b >= 0xE0) {
            Escape(JisMode::Kanji, jis);
            if (i + 1 == n) {
                haveLead_ = true;  // the second byte comes with the next piece
                lead_ = static_cast<std::uint8_t>(b);
                return;
            }
            Pair(b, static_cast<std::uint8_t>(sjis[i + 1]), jis);
            i += 2;
        } else if (b <= 0x7F) {
            Escape(JisMode::Roman, jis);
            // A run of roman bytes goes across as it is.
            std::size_t end = i + 1;
            while (end < n && static_cast<std::uint8_t>(sjis[end]) <= 0x7F) {
                ++end;
            }
            jis.append(sjis.data() + i, end - i);
            i = end;
        } else {
            Escape(JisMode::Kana, jis);
            jis.push_back(static_cast<char>(ToByte(b - 0x80)));
            i += 1;
        }
    }
}

void SjisToJisStream::Finish(std::string& /*jis*/) {
    if (!any_) {
        PastEnd("empty input");
    }
    if (haveLead_) {
        PastEnd("lead byte at the end of the input");
    }
}

// ---- Stage 2 ---------------------------------------------------------------------

void JisToEucStream::Byte(std::uint8_t b, std::string& euc) {
    switch (phase_) {
    case Phase::Data:
        if (b == kEsc) {
            phase_ = Phase::Esc;
            return;
        }
        switch (mode_) {
        case JisMode::Kanji:
            euc.push_back(static_cast<char>(ToByte(b + 0x80)));
            phase_ = Phase::KanjiFirst;
            return;
        case JisMode::Roman:
            if (b >= 0xA1 && b <= 0xDF) {
                euc.push_back(static_cast<char>(0x8E));
            }
            euc.push_back(static_cast<char>(b));
            return;
        case JisMode::Kana:
            euc.push_back(static_cast<char>(0x8E));
            euc.push_back(static_cast<char>(b | 0x80U));
            return;
        }
        return;
    case Phase::KanjiFirst:
        euc.push_back(static_cast<char>(ToByte(b + 0x80)));
        phase_ = Phase::Data;
        return;
    case Phase::Esc:
        escByte_ = b;
        phase_ = Phase::EscAndOne;
        return;
    case Phase::EscAndOne: {
        phase_ = Phase::Data;
        const std::uint8_t x = escByte_;
        if (x == 0x24 && (b == 0x42 || b == 0x40)) {
            mode_ = JisMode::Kanji;
        } else if (x == 0x28 && b == 0x4A) {
            mode_ = JisMode::Roman;
        } else if (x == 0x28 && b == 0x49) {
            mode_ = JisMode::Kana;
        } else {
            // Not an escape: the ESC alone is dropped and both bytes are read again
            // as data (the first may itself be an ESC).
            Byte(x, euc);
            Byte(b, euc);
        }
        return;
    }
    }
}

void JisToEucStream::Feed(std::string_view jis, std::string& euc) {
    if (jis.empty()) {
        return;
    }
    any_ = true;
    for (const char c : jis) {
        const auto b = static_cast<std::uint8_t>(c);
        // Plain roman bytes, the bulk of an import file, go straight across.
        if (phase_ == Phase::Data && mode_ == JisMode::Roman && b < 0x80 && c != kEsc) {
            euc.push_back(c);
            continue;
        }
        Byte(b, euc);
    }
}

void JisToEucStream::Finish(std::string& /*euc*/) {
    if (!any_) {
        PastEnd("empty input");
    }
    if (phase_ != Phase::Data) {
        PastEnd(phase_ == Phase::KanjiFirst ? "kanji byte at the end of the input" : "escape at the end of the input");
    }
}

// ---- Both stages -----------------------------------------------------------------

void SjisToEucStream::RunStage2(std::string& euc) {
    if (!stage2Failure_) {
        try {
            stage2_.Feed(jis_, euc);
        } catch (const RunError& e) {
            stage2Failure_ = e.Number();
        }
    }
    jis_.clear();
}

void SjisToEucStream::Feed(std::string_view sjis, std::string& euc) {
    stage1_.Feed(sjis, jis_);
    RunStage2(euc);
}

void SjisToEucStream::Finish(std::string& euc) {
    stage1_.Finish(jis_);
    RunStage2(euc);
    if (stage2Failure_) {
        throw RunError(*stage2Failure_, "EUC-JP stage");
    }
    stage2_.Finish(euc);
}

}  // namespace qb
