// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small web site on a loopback address with pages behind each kind of
// sign-in: a report behind a sign-in form (a cookie of the session), pages
// behind Basic and Digest realms, and one that wants a header. It records
// every request it is sent, so a test can tell what reached it: which pages,
// and with which headers. It needs the event loop of the thread it lives on.

#include <QCryptographicHash>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

class SignInServer : public QObject {
public:
    // The secrets the site knows; a test greps every record for them.
    static constexpr QByteArrayView User = "reader";
    static constexpr QByteArrayView Password = "pw-SECRET-4711";
    static constexpr QByteArrayView Session = "cookie-SECRET-0815";
    static constexpr QByteArrayView HeaderName = "X-Report-Token";
    static constexpr QByteArrayView HeaderValue = "header-SECRET-1234";
    static constexpr QByteArrayView Realm = "Reports";
    static constexpr QByteArrayView Nonce = "5f2a9c0e7d";

    struct Request {
        QByteArray method;
        QByteArray path;
        QMap<QByteArray, QByteArray> headers;  // names in lower case
    };

    explicit SignInServer(const QHostAddress &address = QHostAddress::LocalHost, QObject *parent = nullptr)
        : QObject(parent)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &SignInServer::onConnection);
        m_listening = m_server.listen(address);
    }

    bool listening() const { return m_listening; }
    QString base() const { return u"http://" + m_server.serverAddress().toString() + u':' + QString::number(m_server.serverPort()); }
    QString url(const QString &path) const { return base() + path; }
    const QList<Request> &requests() const { return m_requests; }
    // How often a page was asked for.
    int count(const QByteArray &path) const
    {
        return int(std::count_if(m_requests.cbegin(), m_requests.cend(),
                                 [&path](const Request &request) { return request.path.startsWith(path); }));
    }
    // Whether any request arrived carrying the header.
    bool sawHeader(QByteArrayView name) const
    {
        return std::any_of(m_requests.cbegin(), m_requests.cend(),
                           [name](const Request &request) { return request.headers.contains(name.toByteArray().toLower()); });
    }
    // The page that answers a sign-in with a report: its text.
    static QByteArray reportPage() { return page("Quarterly report", "<p>Revenue grew.</p>"); }

private:
    static QByteArray page(const QByteArray &title, const QByteArray &body)
    {
        return "<!doctype html><html><head><title>" + title + "</title></head><body><h1>" + title + "</h1>" + body
            + "</body></html>";
    }

    static QByteArray answer(const QByteArray &status, const QByteArray &body, const QByteArray &headers = {})
    {
        return "HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\nConnection: close\r\n" + headers + "\r\n" + body;
    }

    void onConnection()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { onData(socket); });
        }
    }

    void onData(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        Request request;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.path = first.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
        }
        const qsizetype length = request.headers.value("content-length").toLongLong();
        if (buffer.size() < end + 4 + length)
            return;
        const QByteArray body = buffer.mid(end + 4, length);
        m_buffers.remove(socket);
        m_requests << request;
        socket->write(respond(request, body));
        socket->disconnectFromHost();
    }

    QByteArray respond(const Request &request, const QByteArray &body) const
    {
        const QByteArray path = request.path.left(request.path.indexOf('?') < 0 ? request.path.size() : request.path.indexOf('?'));
        if (path == "/report")
            return signedIn(request) ? answer("200 OK", reportPage())
                                     : answer("302 Found", {}, "Location: /login?next=/report\r\n");
        if (path == "/login" && request.method == "POST") {
            if (body != "user=" + User.toByteArray() + "&password=" + Password.toByteArray())
                return answer("200 OK", page("Sign in", "<p>Wrong.</p>"));
            return answer("303 See Other", {}, "Set-Cookie: session=" + Session.toByteArray() + "; Path=/; HttpOnly\r\nLocation: /report\r\n");
        }
        if (path == "/login")
            return answer("200 OK", page("Sign in", "<form method=post action=/login><input name=user>"
                                                    "<input name=password type=password><button>Sign in</button></form>"));
        if (path == "/basic")
            return basicAllowed(request) ? answer("200 OK", reportPage())
                                         : answer("401 Unauthorized", page("No", {}),
                                                  "WWW-Authenticate: Basic realm=\"" + Realm.toByteArray() + "\"\r\n");
        if (path == "/digest")
            return digestAllowed(request)
                ? answer("200 OK", reportPage())
                : answer("401 Unauthorized", page("No", {}),
                         "WWW-Authenticate: Digest realm=\"" + Realm.toByteArray() + "\", qop=\"auth\", nonce=\""
                             + Nonce.toByteArray() + "\", algorithm=MD5\r\n");
        if (path == "/header")
            return request.headers.value(HeaderName.toByteArray().toLower()) == HeaderValue
                ? answer("200 OK", page("Quarterly report", "<img src=\"" + m_elsewhere + "/pixel\">"))
                : answer("403 Forbidden", page("Forbidden", {}));
        return answer("200 OK", page("Elsewhere", {}));
    }

    static bool signedIn(const Request &request)
    {
        return request.headers.value("cookie").contains(QByteArray("session=" + Session.toByteArray()));
    }

    static bool basicAllowed(const Request &request)
    {
        return request.headers.value("authorization")
            == "Basic " + QByteArray(User.toByteArray() + ':' + Password.toByteArray()).toBase64();
    }

    static QByteArray md5(const QByteArray &text) { return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex(); }

    static bool digestAllowed(const Request &request)
    {
        QByteArray header = request.headers.value("authorization");
        if (!header.startsWith("Digest "))
            return false;
        QMap<QByteArray, QByteArray> fields;
        for (QByteArray part : header.mid(7).split(',')) {
            part = part.trimmed();
            const qsizetype equals = part.indexOf('=');
            QByteArray value = part.mid(equals + 1);
            if (value.startsWith('"'))
                value = value.mid(1, value.size() - 2);
            fields.insert(part.left(equals), value);
        }
        const QByteArray ha1 = md5(User.toByteArray() + ':' + Realm.toByteArray() + ':' + Password.toByteArray());
        const QByteArray ha2 = md5(request.method + ':' + fields.value("uri"));
        const QByteArray expected = md5(ha1 + ':' + Nonce.toByteArray() + ':' + fields.value("nc") + ':'
                                        + fields.value("cnonce") + ':' + fields.value("qop") + ':' + ha2);
        return fields.value("username") == User && fields.value("response") == expected;
    }

public:
    // Where the header page's picture comes from: another host, which must
    // never see the header.
    void setElsewhere(const QString &base) { m_elsewhere = base.toUtf8(); }

private:
    QTcpServer m_server;
    bool m_listening = false;
    QList<Request> m_requests;
    QMap<QTcpSocket *, QByteArray> m_buffers;
    QByteArray m_elsewhere;
};
