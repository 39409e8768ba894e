// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A TCP relay on 127.0.0.1 between the program and a print scheduler that
// gets in the way of the scheduler's answer to one job: the job itself goes
// through whole, so the scheduler takes it and it comes out, but the answer
// never reaches the program, or reaches it slowly; or the job's document
// stops on its way, and the scheduler never has it whole. Or a slow link: what the
// program sends moves steadily but slowly. It needs the event loop of the
// thread it lives on.

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>

class AnswerRelay : public QObject {
public:
    enum class Fault {
        CutOff,        // the connection to the program closes as the answer begins
        SlowBody,      // the answer's HTTP head comes at once, the rest later
        HoldAnswer,    // the scheduler takes the job, but its answer never comes through
        HoldDocument,  // the document stops where it begins: the scheduler never has it whole
    };

    // `upstream` as CUPS_SERVER spells it ("127.0.0.1:PORT"); `job` counts
    // the documents that pass, from 1, on every connection together.
    // What the program sends goes on at `bytesPerSecond`, in even steps.
    struct SlowLink {
        qint64 bytesPerSecond = 0;
    };
    static constexpr int LinkStepMs = 50;

    AnswerRelay(const QString &upstream, SlowLink link)
        : AnswerRelay(upstream, 0, Fault::CutOff)
    {
        m_linkStep = std::max<qint64>(1, link.bytesPerSecond * LinkStepMs / 1000);
    }

    AnswerRelay(const QString &upstream, int job, Fault fault, int delayMs = 400)
        : m_upstreamHost(upstream.section(u':', 0, 0))
        , m_upstreamPort(quint16(upstream.section(u':', 1, 1).toUInt()))
        , m_job(job)
        , m_fault(fault)
        , m_delayMs(delayMs)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection())
                relay(client);
        });
    }

    QString address() const { return u"127.0.0.1:" + QString::number(m_server.serverPort()); }
    int documentsSeen() const { return m_documents; }
    bool struck() const { return m_struck; }

private:
    // One connection of the program's, and its own to the scheduler.
    struct Pair {
        QPointer<QTcpSocket> client;
        QPointer<QTcpSocket> upstream;
        QByteArray tail;       // the last bytes from the program, for a mark split between reads
        bool target = false;   // the job in the way has gone out on this connection
        QByteArray held;       // SlowBody: the answer's rest, waiting
        bool holding = false;
        bool stalled = false;  // HoldAnswer, HoldDocument: nothing more passes
    };

    void relay(QTcpSocket *client)
    {
        auto pair = std::make_shared<Pair>();
        pair->client = client;
        pair->upstream = new QTcpSocket(client);
        if (m_linkStep > 0) {
            // Read no faster than the link goes, so that the program's
            // writes wait as they would on a slow line.
            client->setReadBufferSize(m_linkStep);
            client->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, int(m_linkStep));
            auto *step = new QTimer(client);
            connect(step, &QTimer::timeout, this, [pair, this] {
                if (pair->client && pair->upstream)
                    pair->upstream->write(pair->client->read(m_linkStep));
            });
            step->start(LinkStepMs);
        } else {
            connect(client, &QTcpSocket::readyRead, this, [this, pair] { fromProgram(*pair); });
        }
        connect(pair->upstream, &QTcpSocket::readyRead, this, [this, pair] { fromScheduler(pair); });
        connect(client, &QTcpSocket::disconnected, this, [pair] {
            if (pair->upstream)
                pair->upstream->disconnectFromHost();
            pair->client->deleteLater();
        });
        connect(pair->upstream, &QTcpSocket::disconnected, this, [pair] {
            if (pair->client && !pair->holding)
                pair->client->disconnectFromHost();
        });
        pair->upstream->connectToHost(m_upstreamHost, m_upstreamPort);
    }

    void fromProgram(Pair &pair)
    {
        const QByteArray data = pair.client->readAll();
        if (pair.stalled)
            return;
        // Every document is a PDF, and "%PDF-" opens it once.
        const QByteArray seen = pair.tail + data;
        for (qsizetype at = seen.indexOf("%PDF-"); at >= 0; at = seen.indexOf("%PDF-", at + 1)) {
            if (at + 5 > pair.tail.size() && ++m_documents == m_job) {
                pair.target = true;
                if (m_fault == Fault::HoldDocument) {
                    m_struck = pair.stalled = true;
                    pair.upstream->write(data.left(std::max<qsizetype>(0, at - pair.tail.size())));
                    return;
                }
            }
        }
        pair.tail = seen.right(4);
        pair.upstream->write(data);
    }

    void fromScheduler(const std::shared_ptr<Pair> &shared)
    {
        Pair &pair = *shared;
        QByteArray data = pair.upstream->readAll();
        if (pair.stalled)
            return;
        if (!pair.target) {
            if (pair.holding)
                pair.held += data;
            else if (pair.client)
                pair.client->write(data);
            return;
        }
        pair.target = false;
        m_struck = true;
        if (m_fault == Fault::HoldAnswer) {
            pair.stalled = true;
            return;
        }
        if (m_fault == Fault::CutOff) {
            pair.client->abort();
            pair.upstream->abort();
            return;
        }
        const qsizetype head = data.indexOf("\r\n\r\n");
        const qsizetype split = head < 0 ? data.size() : head + 4;
        pair.client->write(data.left(split));
        pair.client->flush();
        pair.held = data.mid(split);
        pair.holding = true;
        QTimer::singleShot(m_delayMs, this, [shared] {
            shared->holding = false;
            if (!shared->client)
                return;
            shared->client->write(shared->held);
            shared->held.clear();
            if (!shared->upstream || shared->upstream->state() != QAbstractSocket::ConnectedState)
                shared->client->disconnectFromHost();
        });
    }

    QTcpServer m_server;
    QString m_upstreamHost;
    quint16 m_upstreamPort;
    int m_job;
    Fault m_fault;
    int m_delayMs;
    qint64 m_linkStep = 0;  // a slow link: bytes per step
    int m_documents = 0;
    bool m_struck = false;
};
