#pragma once
// The state of the main window that the export reads and writes, as plain values:
// the window, the command-line exporter and the tests all fill one of these and hand
// it to the same engine. Texts are UTF-16, as the window holds them.

#include <string>
#include <vector>

namespace qb {

struct WindowModel {
    // Start date fields: year, month, day, hour, minute, exactly as typed.
    std::u16string Text1, Text2, Text3, Text4, Text5;
    std::u16string Text7;  // import file name, without ".txt"
    std::u16string Text8;  // category name for "以下に指定した名を使う"
    bool Text8Enabled = false;

    // Publish status: "指定日", "公　開", "未公開".
    bool Option1 = false, Option2 = false, Option3 = false;
    // Day step: "１日", "２日", "３日", "同日".
    bool Option4 = false, Option5 = false, Option6 = false, Option9 = false;
    // Category rule: "フォルダー名を使う", "タイトルを使う", "以下に指定した名を使う", "ファイル名を使う".
    bool Option7 = false, Option8 = false, Option10 = false, Option11 = false;
    // Output encoding: "EUC", "UTF-8", "Shift-JIS".
    bool Option12 = false, Option13 = true, Option14 = false;

    // Time step list: its entries and the selected index (-1: no selection).
    std::vector<std::u16string> Combo1Items;
    int Combo1ListIndex = -1;

    std::u16string Frame2Caption;

    std::u16string Dir1Path;  // source folder shown by the folder list
    std::u16string Dir2Path;  // output folder shown by the folder list

    // The chosen articles, kept in step: file names, and full paths.
    std::vector<std::u16string> List1;
    std::vector<std::u16string> List2;
};

}  // namespace qb
