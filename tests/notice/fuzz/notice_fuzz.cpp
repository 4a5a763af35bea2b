// Fuzzes the notice page's decoding and its title test, through the probe's public
// functions only:
//  - a charset found in the Content-Type or in the page is a part of what it was found in;
//  - a page behind a UTF-8 byte-order mark, or unlabelled and valid UTF-8, decodes as
//    UTF-8;
//  - the title test on the decoded page: a "<title>" whose next nine characters are not
//    "404 error".
//
// Input: the Content-Type value, a line feed, then the page's bytes.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <optional>

#include "fuzz/fuzz_support.h"
#include "notice/notice_probe.h"

namespace {

using qbfuzz::Require;

bool IsPartOf(const QByteArray& found, const QByteArray& text) {
    return found.isEmpty() || text.toLower().contains(found.toLower());
}

// The UTF-8 text of bytes, when they are valid UTF-8.
std::optional<QString> Utf8Text(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

bool ShowsNotice(const QString& page) {
    const qsizetype p = page.indexOf(QStringLiteral("<title>"));
    return p >= 0 && page.mid(p + 7, 9) != QStringLiteral("404 error");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArray contentType = lineEnd < 0 ? QByteArray() : input.left(lineEnd);
    const QByteArray body = lineEnd < 0 ? input : input.mid(lineEnd + 1);

    const QByteArray headerCharset = qb::notice::CharsetFromContentType(contentType);
    const QByteArray metaCharset = qb::notice::CharsetFromMeta(body);
    Require(IsPartOf(headerCharset, contentType), "the header's charset is written in it");
    Require(IsPartOf(metaCharset, body), "the page's charset is written in it");

    const QString page = qb::notice::DecodePage(body, contentType);
    const bool utf16Mark = body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF");
    if (body.startsWith("\xEF\xBB\xBF")) {
        if (const auto text = Utf8Text(body.mid(3))) {
            Require(page == *text || page == QChar(0xFEFF) + *text, "a UTF-8 byte-order mark decodes as UTF-8");
        }
    } else if (!utf16Mark && headerCharset.isEmpty() && metaCharset.isEmpty()) {
        if (const auto text = Utf8Text(body)) {
            Require(page == *text, "an unlabelled valid UTF-8 page decodes as UTF-8");
        }
    }
    Require(qb::notice::TitleShowsNotice(page) == ShowsNotice(page), "the title test");
    return 0;
}
