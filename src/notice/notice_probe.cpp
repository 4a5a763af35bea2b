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

namespace qb::notice {

namespace {

// Decodes with the named charset; nullopt when the name is unknown.
std::optional<QString> DecodeAs(const QByteArray& body, const QByteArray& charset)
{
    if (charset.isEmpty())
        return std::nullopt;
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(body);
    return text;
}

}  // namespace

void CapBody(QNetworkReply& reply, qint64 maxBytes)
{
    // One byte more than the cap is enough to tell that the body is too long.
    reply.setReadBufferSize(maxBytes + 1);
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
}

QByteArray CharsetFromContentType(const QByteArray& contentType)
{
    static const QRegularExpression re(
        QStringLiteral(R"(;\s*charset\s*=\s*["']?([A-Za-z0-9._:+\-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(contentType));
    return m.hasMatch() ? m.captured(1).toLatin1() : QByteArray();
}

QByteArray CharsetFromMeta(const QByteArray& body)
{
    // The labels are ASCII, and so are the bytes of the tags in every charset the page may
    // use here, so the head can be searched as Latin-1.
    qsizetype end = body.indexOf("</head");
    if (end < 0)
        end = body.indexOf("</HEAD");
    const QString head = QString::fromLatin1(end < 0 ? body : body.left(end));
    static const QRegularExpression re(
        QStringLiteral(R"(<meta\s[^>]*?charset\s*=\s*["']?\s*([A-Za-z0-9._:+\-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(head);
    return m.hasMatch() ? m.captured(1).toLatin1() : QByteArray();
}

QString DecodePage(const QByteArray& body, const QByteArray& contentType)
{
    if (body.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringConverter::Utf8).decode(body);
    if (body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16).decode(body);
    if (auto text = DecodeAs(body, CharsetFromContentType(contentType)))
        return *text;
    if (auto text = DecodeAs(body, CharsetFromMeta(body)))
        return *text;
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    return DecodeAs(body, "Shift_JIS").value_or(text);
}

bool TitleShowsNotice(QStringView page)
{
    const qsizetype p = page.indexOf(u"<title>", 0, Qt::CaseSensitive);
    if (p < 0)
        return false;
    const QStringView head = page.mid(p + 7, 9);
    return head != u"404 error";
}

std::optional<FetchedPage> FetchNoticePage(QNetworkAccessManager& net, const QUrl& url,
                                           int timeoutMs)
{
    if (!url.isValid() || url.isRelative())
        return std::nullopt;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
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
