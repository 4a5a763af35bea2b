#include "encoding/kanji_stream.h"

#include <string>

#include "common/run_error.h"
#include "encoding/jis_arithmetic.h"

namespace qb {

void detail::ThrowByteOverflow(int value) {
    throw RunError(err::kOverflow, "computed byte " + std::to_string(value) + " out of range");
}

namespace {

constexpr char kEsc = 0x1B;

using detail::CheckedByte;

[[noreturn]] void PastEnd(const char* what) { throw RunError(err::kSubscript, what); }

// Stage 1: writes the escape into mode to, unless mode is already to.
char* Escape(JisMode& mode, JisMode to, char* o) {
    if (mode == to) {
        return o;
    }
    *o++ = kEsc;
    *o++ = to == JisMode::Kanji ? '\x24' : '\x28';
    *o++ = to == JisMode::Kanji ? '\x42' : to == JisMode::Roman ? '\x4A' : '\x49';
    mode = to;
    return o;
}

}  // namespace

// Each Feed sizes its output for the longest result the piece can give, writes through
// a pointer and cuts the output to what was written.

// ---- Stage 1 ---------------------------------------------------------------------

char* SjisToJisStream::Pair(int c1, int c2, char* o) {
    const detail::JisPair jis = detail::SjisPairToJis(c1, c2);
    *o++ = static_cast<char>(CheckedByte(jis.c1));
    *o++ = static_cast<char>(CheckedByte(jis.c2));
    return o;
}

void SjisToJisStream::Feed(std::string_view sjis, std::string& jis) {
    if (sjis.empty()) {
        return;
    }
    any_ = true;
    const std::size_t n = sjis.size();
    // At most an escape and a byte per input byte, and the pair of a kept lead byte.
    const std::size_t base = jis.size();
    jis.resize(base + 4 * n + 2);
    char* o = jis.data() + base;
    JisMode mode = mode_;  // a local, as writes through o may alias the members
    std::size_t i = 0;
    if (haveLead_) {  // the lead byte of the last piece and its second byte
        haveLead_ = false;
        o = Pair(lead_, static_cast<std::uint8_t>(sjis[0]), o);
        i = 1;
    }
    while (i < n) {
        const int b = static_cast<std::uint8_t>(sjis[i]);
        if ((b >= 0x80 && b <= 0xA0) || b >= 0xE0) {
            o = Escape(mode, JisMode::Kanji, o);
            if (i + 1 == n) {
                haveLead_ = true;  // the second byte comes with the next piece
                lead_ = static_cast<std::uint8_t>(b);
                break;
            }
            o = Pair(b, static_cast<std::uint8_t>(sjis[i + 1]), o);
            i += 2;
        } else if (b <= 0x7F) {
            o = Escape(mode, JisMode::Roman, o);
            *o++ = static_cast<char>(b);
            i += 1;
        } else {
            o = Escape(mode, JisMode::Kana, o);
            *o++ = static_cast<char>(CheckedByte(b - 0x80));
            i += 1;
        }
    }
    mode_ = mode;
    jis.resize(static_cast<std::size_t>(o - jis.data()));
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

char* JisToEucStream::Byte(std::uint8_t b, char* o) {
    switch (phase_) {
    case Phase::Data:
        if (b == kEsc) {
            phase_ = Phase::Esc;
            return o;
        }
        switch (mode_) {
        case JisMode::Kanji:
            *o++ = static_cast<char>(CheckedByte(b + 0x80));
            phase_ = Phase::KanjiFirst;
            return o;
        case JisMode::Roman:
            if (b >= 0xA1 && b <= 0xDF) {
                *o++ = static_cast<char>(0x8E);
            }
            *o++ = static_cast<char>(b);
            return o;
        case JisMode::Kana:
            *o++ = static_cast<char>(0x8E);
            *o++ = static_cast<char>(b | 0x80U);
            return o;
        }
        return o;
    case Phase::KanjiFirst:
        *o++ = static_cast<char>(CheckedByte(b + 0x80));
        phase_ = Phase::Data;
        return o;
    case Phase::Esc:
        escByte_ = b;
        phase_ = Phase::EscAndOne;
        return o;
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
            o = Byte(x, o);
            o = Byte(b, o);
        }
        return o;
    }
    }
    return o;
}

void JisToEucStream::Feed(std::string_view jis, std::string& euc) {
    if (jis.empty()) {
        return;
    }
    any_ = true;
    // At most two bytes per input byte, and those of two bytes kept after an ESC.
    const std::size_t base = euc.size();
    euc.resize(base + 2 * jis.size() + 4);
    char* o = euc.data() + base;
    // Roman bytes and kanji pairs, the bulk of an import file, are handled here with
    // the state in locals; escapes and kana go through Byte().
    Phase phase = phase_;
    JisMode mode = mode_;
    for (const char c : jis) {
        const auto b = static_cast<std::uint8_t>(c);
        if (phase == Phase::KanjiFirst) {
            *o++ = static_cast<char>(CheckedByte(b + 0x80));
            phase = Phase::Data;
            continue;
        }
        if (phase == Phase::Data && c != kEsc) {
            if (mode == JisMode::Kanji) {
                *o++ = static_cast<char>(CheckedByte(b + 0x80));
                phase = Phase::KanjiFirst;
                continue;
            }
            if (mode == JisMode::Roman && b < 0x80) {
                *o++ = c;
                continue;
            }
        }
        phase_ = phase;
        mode_ = mode;
        o = Byte(b, o);
        phase = phase_;
        mode = mode_;
    }
    phase_ = phase;
    mode_ = mode;
    euc.resize(static_cast<std::size_t>(o - euc.data()));
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
