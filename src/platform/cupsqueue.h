#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <memory>
#include <optional>

typedef struct _http_s http_t;
typedef struct cups_dest_s cups_dest_t;

namespace platform {

// The default CUPS destination, reached over one connection that is kept for
// every job of a run: connecting anew per document would cost more than
// submitting a small one.
class CupsQueue {
public:
    // `server` as in CUPS_SERVER ("host:port" or a socket path); empty means
    // wherever the environment and the client configuration point.
    explicit CupsQueue(QString server = {});
    ~CupsQueue();
    CupsQueue(const CupsQueue &) = delete;
    CupsQueue &operator=(const CupsQueue &) = delete;

    // Looks up the default destination afresh and says why it cannot take
    // jobs, if it cannot.
    std::optional<QString> problem();

    // The default destination's default media, portrait unless the queue
    // says otherwise, with margins like a browser's print.
    QPageLayout pageLayout() const { return m_layout; }

    // Hands one PDF to the queue; returns once CUPS holds the whole job.
    std::optional<QString> submit(const QByteArray &pdf, const QString &title);

private:
    struct HttpClose { void operator()(http_t *http) const; };
    struct DestFree { void operator()(cups_dest_t *dest) const; };

    bool connect();
    void readPageLayout();
    std::optional<QString> trySubmit(const QByteArray &pdf, const QByteArray &title);

    QByteArray m_server;
    std::unique_ptr<http_t, HttpClose> m_http;
    std::unique_ptr<cups_dest_t, DestFree> m_dest;
    QPageLayout m_layout;
};

// A job title CUPS accepts: at most 255 bytes of UTF-8. A long path keeps its
// end, where the file's own name is.
QByteArray jobTitle(const QString &text);

// Margins like a browser's print dialog gives by default.
inline constexpr double PrintMarginMm = 10.0;

} // namespace platform
