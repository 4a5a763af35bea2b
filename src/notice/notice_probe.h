#pragma once
// The notice-page probe: one bounded fetch of the page, its decoding, and the title test
// that decides whether the notice window is shown.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace qb::notice {

struct FetchedPage {
    QUrl url;      // where the page came from, after redirects
    QString text;  // the page, decoded
};

// The charset named by a Content-Type value ("text/html; charset=Shift_JIS"), or empty.
[[nodiscard]] QByteArray CharsetFromContentType(const QByteArray& contentType);

// The charset named by a <meta charset> or <meta http-equiv="Content-Type"> in the page's
// head, or empty.
[[nodiscard]] QByteArray CharsetFromMeta(const QByteArray& body);

// Decodes the page's bytes: a byte-order mark first, then the charset of the Content-Type
// header, then one named in the page; without any, UTF-8 when the bytes are valid UTF-8,
// otherwise Shift_JIS (code page 932, as Japanese pages without a label usually are).
[[nodiscard]] QString DecodePage(const QByteArray& body, const QByteArray& contentType);

// True when the page asks for the notice window: it has a "<title>" (exact, case-sensitive,
// the first one counts) and the nine characters after it are not "404 error" (fewer when
// the text ends sooner).
[[nodiscard]] bool TitleShowsNotice(QStringView page);

// The most the notice page, or any one of its pictures and style sheets, may weigh.
inline constexpr qint64 kMaxBodyBytes = qint64{2} * 1024 * 1024;

// Aborts reply as soon as its body is known to be longer than maxBytes, from its
// Content-Length or from what has arrived, and keeps it from buffering much more meanwhile.
void CapBody(QNetworkReply& reply, qint64 maxBytes = kMaxBodyBytes);

// Fetches url once and waits for it, at most timeoutMs in all. Any failure (no network,
// refused, time-out, TLS error, HTTP status 400 or above, even with a page, a body past
// kMaxBodyBytes) gives nullopt.
[[nodiscard]] std::optional<FetchedPage> FetchNoticePage(QNetworkAccessManager& net, const QUrl& url, int timeoutMs);

}  // namespace qb::notice
