// Helper of reencode.sh.
//   reencode_bench gen FILE MB        writes an import-like Shift_JIS file of about MB megabytes
//   reencode_bench euc|utf8 FILE [lf] re-encodes FILE in place and prints the time taken

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "common/run_error.h"
#include "encoding/cp932.h"
#include "export/reencode.h"

namespace {

const char16_t* const kTitles[] = {
    u"春の散歩道", u"ＰＣの設定メモ", u"週末のｶﾌｪ巡り", u"読書記録：吾輩は猫である", u"旅行記①　京都",
};

const char16_t* const kSentences[] = {
    u"今日は朝から良い天気でした。公園の桜が満開で、カメラを持って散歩に出かけました。",
    u"ｶﾒﾗの設定はISO 200、F8、1/250秒。逆光でも色がきれいに出ます。",
    u"新しいノートＰＣを買ったので、初期設定の手順を覚え書きとして残しておきます。",
    u"駅前の喫茶店「こもれび」は、珈琲が一杯４５０円。静かで長居しやすいお店です。",
    u"第①章から第⑩章まで、一気に読み終えてしまいました。明日は感想を書く予定です。",
    u"Quillbrook で投稿用ファイルを作る練習中。ＭｏｖａｂｌｅＴｙｐｅ形式で書き出します。",
    u"夕方から雨。傘を忘れたので、コンビニで買いました（３００円）。",
    u"",
};

int Generate(const std::filesystem::path& path, long megabytes) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937 rng(7);
    const std::size_t target = static_cast<std::size_t>(megabytes) * 1024 * 1024;
    std::vector<std::string> sentences(std::size(kSentences));
    std::transform(std::begin(kSentences), std::end(kSentences), sentences.begin(),
                   [](const char16_t* s) { return qb::cp932::Encode(s); });
    std::size_t written = 0;
    for (int n = 0; written < target; ++n) {
        std::string record =
            "AUTHOR: quillbrook\r\nTITLE: " + qb::cp932::Encode(kTitles[n % 5]) + " " + std::to_string(n) +
            "\r\nSTATUS: Publish\r\nALLOW COMMENTS: 1\r\nCONVERT BREAKS: 0\r\nDATE: 12/07/2026 10:15:00\r\n"
            "CATEGORY: " +
            qb::cp932::Encode(u"日記") + "\r\n-----\r\nBODY:\r\n<P>";
        const int lines = 5 + static_cast<int>(rng() % 30);
        for (int k = 0; k < lines; ++k) {
            record += sentences[rng() % sentences.size()] + "<BR>\r\n";
        }
        record += "-----\r\n--------\r\n";
        out.write(record.data(), static_cast<std::streamsize>(record.size()));
        written += record.size();
    }
    return out ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "gen") {
        return Generate(argv[2], std::atol(argv[3]));
    }
    if (argc < 3) {
        std::cerr << "usage: reencode_bench gen FILE MB | reencode_bench euc|utf8 FILE [lf]\n";
        return 64;
    }
    const std::string mode = argv[1];
    const qb::OutputEncoding encoding = mode == "euc"    ? qb::OutputEncoding::EucJp
                                        : mode == "utf8" ? qb::OutputEncoding::Utf8
                                                         : qb::OutputEncoding::NotChosen;
    const auto ends = argc > 3 && std::string(argv[3]) == "lf" ? qb::LineEnds::Lf : qb::LineEnds::CrLf;
    const std::filesystem::path path = argv[2];
    const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
    const auto start = std::chrono::steady_clock::now();
    try {
        qb::ReencodeOutputFile(path, encoding, ends);
    } catch (const qb::RunError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s %.1f MB in %.2f s: %.1f MB/s\n", mode.c_str(), megabytes, seconds, megabytes / seconds);
    return 0;
}
