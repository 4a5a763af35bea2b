#pragma once
// Shift_JIS to EUC-JP in two stages, by arithmetic rather than tables, fed piece by
// piece: Shift_JIS bytes become a 7-bit JIS stream (ESC $ B kanji, ESC ( J roman,
// ESC ( I half-width kana, starting in roman mode, no escape at the end), and that
// stream becomes EUC-JP. The export's re-encoding runs the import file through these;
// kanji_convert.h gives the same on whole arrays.
//
// The mode, a lead byte waiting for its second byte and the bytes of an escape survive
// from one piece to the next, so any split gives the bytes and the failure that the whole
// input gives at once. Finish() ends the input; only then can a read past the end show.
//
// Every computed byte is range-tested. Feed() and Finish() throw RunError: 6 when a
// computed byte leaves 0..255, 9 when the conversion reads past the end of its input and
// for an empty input. A zero byte is data like any other. After a throw the output is to
// be discarded and the object not used again.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

enum class JisMode : std::uint8_t { Roman, Kanji, Kana };

// Stage 1: any byte 0x80..0xA0 or 0xE0..0xFF starts a two-byte character and takes
// the next byte, whatever it is, as its second byte.
class SjisToJisStream {
public:
    void Feed(std::string_view sjis, std::string& jis);
    void Finish(std::string& jis);

private:
    static char* Pair(int c1, int c2, char* o);

    JisMode mode_ = JisMode::Roman;
    bool any_ = false;
    bool haveLead_ = false;
    std::uint8_t lead_ = 0;
};

// Stage 2: takes ESC $ B and ESC $ @ (kanji), ESC ( J (roman), ESC ( I (kana); any other
// ESC is dropped and the bytes after it are read as data in the current mode.
class JisToEucStream {
public:
    void Feed(std::string_view jis, std::string& euc);
    void Finish(std::string& euc);

private:
    enum class Phase : std::uint8_t {
        Data,        // next byte starts something
        Esc,         // an ESC has been read
        EscAndOne,   // an ESC and one byte after it
        KanjiFirst,  // the first byte of a kanji pair has been written
    };
    char* Byte(std::uint8_t b, char* o);

    JisMode mode_ = JisMode::Roman;
    Phase phase_ = Phase::Data;
    bool any_ = false;
    std::uint8_t escByte_ = 0;
};

// Both stages chained. A failure of stage 2 is held back while stage 1 goes on, because
// converting the whole input runs stage 1 to its end first: a later stage-1 failure is
// the one reported.
class SjisToEucStream {
public:
    void Feed(std::string_view sjis, std::string& euc);
    void Finish(std::string& euc);

private:
    void RunStage2(std::string& euc);

    SjisToJisStream stage1_;
    JisToEucStream stage2_;
    std::string jis_;
    std::optional<int> stage2Failure_;
};

}  // namespace qb
