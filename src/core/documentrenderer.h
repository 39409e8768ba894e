// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPageLayout>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace core {

// One of a document's headings, h1 to h3, for its bookmarks: its level, its
// text, and the named destination the engine's PDF has for it.
struct DocumentHeading {
    int level = 1;
    QString text;
    QByteArray name;
};

// One document made ready for the printer, or why it could not be.
struct RenderedDocument {
    enum class State {
        Complete,    // loaded and settled, web fonts in
        Incomplete,  // not settled when its time was up, rendered as it stood
        Failed,      // nothing worth printing
    };
    State state = State::Failed;
    QByteArray pdf;
    QString title;    // the document's own title; empty when it has none
    QString failure;  // why it failed, in words for the user
    // Failed because the engine can no longer start what loads documents:
    // no later document can be made either, by this renderer or any other.
    bool engineFailed = false;
    // How often the page was asked again whether it had settled: 0 when it
    // was quiet as soon as it had loaded, and printed at once.
    int settleRounds = 0;
    // Its headings, when they were asked for (see Readiness::headings).
    QList<DocumentHeading> headings;
};

// When a document counts as ready to print. The bound holds whatever the
// document does; within it, a loaded page is printed once it has settled:
// nothing of its own in flight, and no change for `quiet`. The quiet time is
// what a page's script takes, at most, between one step of building itself
// and the next (an answer arriving, its rows put in; longer waits are its
// requests and timers, counted apart). Pages that fetch, stream or fill
// themselves from timers took 1 to 17 ms for that on a busy two-core
// machine; 300 ms leaves room for far slower scripts without making a page
// that has settled wait long.
struct Readiness {
    std::chrono::milliseconds bound{30'000};
    std::chrono::milliseconds quiet{300};
    // Whether the headings are named for bookmarks just before printing.
    bool headings = false;
};

// A browser page of its own that turns one entry at a time into a PDF: it
// loads the entry, waits until the document has settled, and renders it for
// print. The work goes on while the event loop turns and ends with one
// `rendered` notification, within the time bound it was given plus a few
// seconds, whatever the document does. Which entry to print next, and where
// the PDF goes, is not its business.
class DocumentRenderer : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts on `entry` (a local path or an address, exactly as the job list
    // holds it), laid out on `layout`'s pages, ready when `readiness` says;
    // `job` comes back with the result. Whatever was under way is dropped as
    // by cancel().
    virtual void render(quint64 job, const QString &entry, const QPageLayout &layout,
                        const Readiness &readiness) = 0;
    // Drops the document under way, if any: no `rendered` follows for it.
    virtual void cancel() = 0;

Q_SIGNALS:
    void rendered(quint64 job, const core::RenderedDocument &document);
};

// Makes one more renderer; each has a page, and a renderer process, of its own.
using RendererFactory = std::function<std::unique_ptr<DocumentRenderer>()>;

} // namespace core

Q_DECLARE_METATYPE(core::RenderedDocument)
