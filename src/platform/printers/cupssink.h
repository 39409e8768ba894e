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
class CupsSink final : public PrintSink {
public:
    // `server` as in CUPS_SERVER ("host:port" or a socket path); empty means
    // wherever the environment and the client configuration point. Which
    // of its queues, and how, each run's settings say.
    explicit CupsSink(QString server = {});
    ~CupsSink() override;
    CupsSink(const CupsSink &) = delete;
    CupsSink &operator=(const CupsSink &) = delete;

    std::optional<SinkProblem> problem(const PrinterSettings &settings, StopToken &stop) override;
    QPageLayout pageLayout() const override { return m_layout; }
    SinkAnswer send(const QByteArray &pdf, const JobTicket &ticket, StopToken &stop) override;
    bool followsJobs() const override { return true; }
    std::optional<QList<JobState>> jobStates(const QList<int> &jobIds, StopToken &stop) override;
    void startFollowing(StopToken &stop) override;
    void stopFollowing(StopToken &stop) override;

private:
    struct HttpClose { void operator()(http_t *http) const; };
    struct DestFree { void operator()(cups_dest_t *dest) const; };
    struct InfoFree { void operator()(cups_dinfo_t *info) const; };
    struct Attempt;
    struct AnswerReader;

    bool connect(StopToken &stop);
    void disconnect();
    std::optional<QString> findDestination(const QByteArray &destination, StopToken &stop);
    QPageLayout printerLayout(cups_dinfo_t *info) const;
    std::optional<QString> refusedOption(cups_dinfo_t *info, const PrinterSettings &settings);
    QString offeredOptions(cups_dinfo_t *info) const;
    Attempt trySend(const QByteArray &pdf, const JobTicket &ticket, StopToken &stop);
    QByteArray printerUri() const;
    bool awaitAnswer(StopToken &stop);
    SinkAnswer readJobAnswer(StopToken &stop);
    SinkAnswer unreadAnswer(const StopToken &stop, bool garbled);
    SinkAnswer readEarlyRefusal(const SinkAnswer &otherwise);
    static int keepWaiting(http_t *http, void *sink);

    QByteArray m_server;
    // What every job of the run carries: the options the printer carries
    // out, as it names them.
    QList<std::pair<QByteArray, QByteArray>> m_jobOptions;
    std::unique_ptr<http_t, HttpClose> m_http;
    std::unique_ptr<cups_dest_t, DestFree> m_dest;
    QPageLayout m_layout;
    StopToken *m_stop = nullptr;  // the call under way, for keepWaiting

    // Following the jobs sent, over the same connection.
    CupsJobs m_jobs;
};

} // namespace platform
