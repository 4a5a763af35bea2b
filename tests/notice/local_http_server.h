#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 for the notice tests. It runs in the test's own
// thread: the probe's local event loop serves its connections while the probe waits.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace qb::notice::test {

struct Response {
    int status = 200;
    QByteArray reason = "OK";
    QByteArray contentType = "text/html";
    QByteArray body;
    bool silent = false;      // accept the connection and never answer
    QByteArray extraHeaders;  // whole header lines, each ending in CR LF
    // Filler bytes after the body, written as the socket drains; -1: without end (and
    // without a Content-Length).
    qint64 fillBytes = 0;
    // Body bytes announced in the Content-Length but never sent: the server closes mid-page.
    qint64 missingBytes = 0;
    // Sent as it is in place of an HTTP response, then the connection is closed.
    QByteArray raw = {};
};

class LocalHttpServer {
public:
    LocalHttpServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                Serve(socket);
        });
    }

    [[nodiscard]] bool Listening() const { return server_.isListening(); }
    void Route(const QByteArray& path, const Response& response) { routes_[path] = response; }
    [[nodiscard]] QUrl Url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }
    [[nodiscard]] const QList<QByteArray>& RequestedPaths() const { return requested_; }
    [[nodiscard]] qint64 FillBytesSent() const { return fillSent_; }

private:
    void Serve(QTcpSocket* socket) {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            QByteArray& buffer = pending_[socket];
            buffer += socket->readAll();
            if (!buffer.contains("\r\n\r\n"))
                return;
            const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
            pending_.remove(socket);
            const QByteArray path = requestLine.value(1);
            requested_.append(path);
            const auto route = routes_.constFind(path);
            Response response =
                route != routes_.cend() ? *route : Response{404, "Not Found", "text/plain", "no such page", false, {}};
            if (response.silent)
                return;
            if (!response.raw.isEmpty()) {
                socket->write(response.raw);
                socket->disconnectFromHost();
                return;
            }
            QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
            head += "Content-Type: " + response.contentType + "\r\n";
            if (response.fillBytes >= 0)
                head += "Content-Length: " +
                        QByteArray::number(response.body.size() + response.fillBytes + response.missingBytes) + "\r\n";
            head += response.extraHeaders;
            head += "Connection: close\r\n\r\n";
            socket->write(head + response.body);
            if (response.fillBytes == 0) {
                socket->disconnectFromHost();
                return;
            }
            // A little at a time, so that the server itself holds next to nothing.
            auto left = std::make_shared<qint64>(response.fillBytes);
            const auto more = [this, socket, left] {
                static const QByteArray chunk(64 * 1024, 'x');
                while (socket->bytesToWrite() < 4 * chunk.size() && *left != 0) {
                    const qint64 n = *left < 0 ? chunk.size() : std::min<qint64>(*left, chunk.size());
                    socket->write(chunk.constData(), n);
                    fillSent_ += n;
                    if (*left > 0)
                        *left -= n;
                }
                if (*left == 0)
                    socket->disconnectFromHost();
            };
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
            more();
        });
    }

    QTcpServer server_;
    QMap<QByteArray, Response> routes_;
    QMap<QTcpSocket*, QByteArray> pending_;
    QList<QByteArray> requested_;
    qint64 fillSent_ = 0;
};

}  // namespace qb::notice::test
