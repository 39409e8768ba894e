// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cupsjobs.h"

#include "core/printsink.h"

#include <memory>

typedef struct _http_s http_t;
typedef struct cups_dest_s cups_dest_t;
typedef struct _cups_dinfo_s cups_dinfo_t;

namespace platform {

// A CUPS destination, reached over one connection kept for every job of a
// run: connecting anew per document would cost more than submitting a small
// one. Runs on the print thread; every call gives up when its stop token
// says so, and nothing is left half sent in a way that could still print.
class CupsSink final : public core::PrintSink {
public:
    // `server` as in CUPS_SERVER ("host:port" or a socket path); empty means
    // wherever the environment and the client configuration point. Which
    // of its queues, and how, each run's settings say.
    explicit CupsSink(QString server = {});
    ~CupsSink() override;
    CupsSink(const CupsSink &) = delete;
    CupsSink &operator=(const CupsSink &) = delete;

    std::optional<core::SinkProblem> problem(const core::PrinterSettings &settings, core::StopToken &stop) override;
    QPageLayout pageLayout() const override { return m_layout; }
    core::SinkAnswer send(const QByteArray &pdf, const core::JobTicket &ticket, core::StopToken &stop) override;
    bool followsJobs() const override { return true; }
    std::optional<QList<core::JobState>> jobStates(const QList<int> &jobIds, core::StopToken &stop) override;
    void startFollowing(core::StopToken &stop) override;
    void stopFollowing(core::StopToken &stop) override;

private:
    struct HttpClose { void operator()(http_t *http) const; };
    struct DestFree { void operator()(cups_dest_t *dest) const; };
    struct InfoFree { void operator()(cups_dinfo_t *info) const; };
    struct Attempt;
    struct AnswerReader;

    bool connect(core::StopToken &stop);
    void disconnect();
    std::optional<QString> findDestination(const QByteArray &destination, core::StopToken &stop);
    QPageLayout printerLayout(cups_dinfo_t *info) const;
    std::optional<QString> refusedOption(cups_dinfo_t *info, const core::PrinterSettings &settings);
    QString offeredOptions(cups_dinfo_t *info) const;
    Attempt trySend(const QByteArray &pdf, const core::JobTicket &ticket, core::StopToken &stop);
    QByteArray printerUri() const;
    bool awaitAnswer(core::StopToken &stop);
    core::SinkAnswer readJobAnswer(core::StopToken &stop);
    core::SinkAnswer unreadAnswer(const core::StopToken &stop, bool garbled);
    core::SinkAnswer readEarlyRefusal(const core::SinkAnswer &otherwise);
    static int keepWaiting(http_t *http, void *sink);

    QByteArray m_server;
    // What every job of the run carries: the options the printer carries
    // out, as it names them.
    QList<std::pair<QByteArray, QByteArray>> m_jobOptions;
    std::unique_ptr<http_t, HttpClose> m_http;
    std::unique_ptr<cups_dest_t, DestFree> m_dest;
    QPageLayout m_layout;
    core::StopToken *m_stop = nullptr;  // the call under way, for keepWaiting

    // Following the jobs sent, over the same connection.
    CupsJobs m_jobs;
};

} // namespace platform
