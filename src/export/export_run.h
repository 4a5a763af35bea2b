#pragma once
// The export run: checks, one record per listed article, the re-encoding, and the
// final message with the resets after success.

#include "encoding/article_encoding.h"
#include "encoding/reencode.h"
#include "export/clock.h"
#include "export/messages.h"
#include "export/module1.h"
#include "export/window_model.h"

namespace qb {

enum class ExportOutcome {
    Refused,          // a check failed; nothing written
    Succeeded,        // "書き込み正常終了"
    Utf8Failed,       // "UTF-8 への変換に失敗しました。"; Shift_JIS file left
    Failed,           // "書き込み異常終了です。" and the number
    ProgramMustEnd,   // the performance counter failed: the caller ends the program
};

struct ExportOptions {
    LineEnds lineEnds = LineEnds::CrLf;  // LF only for Unix importers (command line)
    ArticleEncoding articleEncoding = ArticleEncoding::Auto;  // fixed only from the command line
};

ExportOutcome RunExport(Module1& module, WindowModel& window, MessageSink& messages, Clock& clock,
                        const ExportOptions& options = {});

}  // namespace qb
