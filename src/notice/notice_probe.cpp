#include "notice/notice_probe.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QStringConverter>
#include <QStringDecoder>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "encoding/japanese_decode.h"

namespace qb::notice {

namespace {

enum class Japanese { No, ShiftJis, EucJp };

// Shift_JIS and EUC-JP are read by the program's own decoders, the same on every
// platform (Qt's own codecs for them need ICU, which Qt for Windows lacks).
Japanese JapaneseCharset(const QByteArray& charset) {
    static const QList<QByteArray> shiftJis = {"shift_jis", "shift-jis",  "sjis",        "x-sjis",
                                               "ms_kanji",  "csshiftjis", "windows-31j", "cp932",
                                               "ms932",     "x-ms-cp932", "windows-932"};
    static const QList<QByteArray> eucJp = {"euc-jp", "eucjp", "euc_jp", "x-euc-jp", "x-euc", "cseucpkdfmtjapanese"};
    const QByteArray name = charset.toLower();
    if (shiftJis.contains(name))
        return Japanese::ShiftJis;
    if (eucJp.contains(name))
        return Japanese::EucJp;
    return Japanese::No;
}

DecodedText DecodeJapanese(const QByteArray& body, Japanese charset) {
    const std::string_view bytes(body.constData(), static_cast<std::size_t>(body.size()));
    return charset == Japanese::EucJp ? DecodeEucJp(bytes) : DecodeShiftJis(bytes);
}

// Decodes with the named charset; nullopt when the name is unknown.
std::optional<QString> DecodeAs(const QByteArray& body, const QByteArray& charset) {
    if (charset.isEmpty())
        return std::nullopt;
    if (const Japanese japanese = JapaneseCharset(charset); japanese != Japanese::No)
        return QString::fromStdU16String(DecodeJapanese(body, japanese).text);
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(body);
    return text;
}

// How much a decoded text looks like Japanese: kana and kanji count up, half-width
// katakana count down. Shift_JIS bytes read as EUC-JP, and the other way round, mostly
// come out as half-width katakana or break the decoding.
int JapaneseScore(QStringView text) {
    int score = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // U+30FB also stands for a byte that is no character.
        if (u == 0x30FB)
            continue;
        if ((u >= 0x3041 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF))
            ++score;
        else if (u >= 0xFF61 && u <= 0xFF9F)
            --score;
    }
    return score;
}

// A page with no label: UTF-8 when it is valid UTF-8; otherwise Shift_JIS or EUC-JP, the
// one that decodes without errors, or the one that reads more like Japanese when both do.
// Shift_JIS on a tie.
QString DecodeUnlabelled(const QByteArray& body) {
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    const DecodedText sjis = DecodeJapanese(body, Japanese::ShiftJis);
    const DecodedText eucJp = DecodeJapanese(body, Japanese::EucJp);
    const QString asSjis = QString::fromStdU16String(sjis.text);
    const QString asEucJp = QString::fromStdU16String(eucJp.text);
    if (sjis.clean != eucJp.clean)
        return sjis.clean ? asSjis : asEucJp;
    return JapaneseScore(asEucJp) > JapaneseScore(asSjis) ? asEucJp : asSjis;
}

}  // namespace

void CapBody(QNetworkReply& reply, qint64 maxBytes) {
    // Room past the cap for whole network reads: with less, the reply waits for room that
    // never comes, and only the time-out would end an endless body.
    constexpr qint64 kReadRoomBytes = qint64{1024} * 1024;
    reply.setReadBufferSize(maxBytes + kReadRoomBytes);
    QNetworkReply* r = &reply;
    const auto check = [r, maxBytes] {
        if (r->isFinished())
            return;
        const QVariant length = r->header(QNetworkRequest::ContentLengthHeader);
        if ((length.isValid() && length.toLongLong() > maxBytes) || r->bytesAvailable() > maxBytes)
            r->abort();
    };
    QObject::connect(r, &QNetworkReply::metaDataChanged, r, check);
    QObject::connect(r, &QNetworkReply::readyRead, r, check);
    // Everything received counts, also what was already taken out of the buffer.
    QObject::connect(r, &QNetworkReply::downloadProgress, r, [r, maxBytes](qint64 received, qint64) {
        if (received > maxBytes && !r->isFinished())
            r->abort();
    });
}

QByteArray CharsetFromContentType(const QByteArray& contentType) {
    static const QRegularExpression re(QStringLiteral(R"(;\s*charset\s*=\s*["']?([A-Za-z0-9._:+\-]+))"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(contentType));
    return m.hasMatch() ? m.captured(1).toLatin1() : QByteArray();
}

QByteArray CharsetFromMeta(const QByteArray& body) {
    // The labels are ASCII, and so are the bytes of the tags in every charset the page may
    // use here, so the head can be searched as Latin-1.
    qsizetype end = body.indexOf("</head");
    if (end < 0)
        end = body.indexOf("</HEAD");
    const QString head = QString::fromLatin1(end < 0 ? body : body.left(end));
    static const QRegularExpression re(QStringLiteral(R"(<meta\s[^>]*?charset\s*=\s*["']?\s*([A-Za-z0-9._:+\-]+))"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(head);
    return m.hasMatch() ? m.captured(1).toLatin1() : QByteArray();
}

QString DecodePage(const QByteArray& body, const QByteArray& contentType) {
    if (body.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringConverter::Utf8).decode(body);
    if (body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16).decode(body);
    if (auto text = DecodeAs(body, CharsetFromContentType(contentType)))
        return *text;
    if (auto text = DecodeAs(body, CharsetFromMeta(body)))
        return *text;
    return DecodeUnlabelled(body);
}

bool TitleShowsNotice(QStringView page) {
    const qsizetype p = page.indexOf(u"<title>", 0, Qt::CaseSensitive);
    if (p < 0)
        return false;
    const QStringView head = page.mid(p + 7, 9);
    return head != u"404 error";
}

std::optional<FetchedPage> FetchNoticePage(QNetworkAccessManager& net, const QUrl& url, int timeoutMs) {
    if (!url.isValid() || url.isRelative())
        return std::nullopt;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    const std::unique_ptr<QNetworkReply> reply(net.get(request));
    CapBody(*reply);

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply.get(), &QNetworkReply::abort);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(std::max(0, timeoutMs));
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();
    if (!reply->isFinished())
        reply->abort();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status >= 400)
        return std::nullopt;
    const QByteArray body = reply->readAll();
    if (body.size() > kMaxBodyBytes)
        return std::nullopt;
    return FetchedPage{reply->url(), DecodePage(body, reply->rawHeader("Content-Type"))};
}

}  // namespace qb::notice
