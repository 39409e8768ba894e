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
    // Where the document ended up when a redirect took it elsewhere (a
    // sign-in form, say); empty when it is the entry's own address.
    QString finalAddress;
    // Failed because the engine can no longer start what loads documents:
    // no later document can be made either, by this renderer or any other.
    bool engineFailed = false;
    // How often the page was asked again whether it had settled: 0 when it
    // was quiet as soon as it had loaded, and printed at once.
    int settleRounds = 0;
    // What decided that it was ready (Complete and Incomplete only).
    enum class ReadyBy {
        AtOnce,      // quiet as soon as it had loaded
        Settled,     // quiet after work of its own, and any delay asked for
        Element,     // the element the user waits for was there, and it had settled
        PageSignal,  // the page said it was ready, and it had settled
        Bound,       // its time was up first: printed as it stood
    };
    ReadyBy readyBy = ReadyBy::Bound;
    // From the end of its load to its being judged ready (or its bound):
    // what settling and the user's waits cost it.
    std::chrono::milliseconds waited{0};
    // Its headings, when they were asked for (see Readiness::headings).
    QList<DocumentHeading> headings;
};

// How a ReadyBy is written where scripts read it ("settled", "element", ...).
inline QString readyByName(RenderedDocument::ReadyBy readyBy)
{
    switch (readyBy) {
    case RenderedDocument::ReadyBy::AtOnce: return QStringLiteral("at-once");
    case RenderedDocument::ReadyBy::Settled: return QStringLiteral("settled");
    case RenderedDocument::ReadyBy::Element: return QStringLiteral("element");
    case RenderedDocument::ReadyBy::PageSignal: return QStringLiteral("page-signal");
    case RenderedDocument::ReadyBy::Bound: return QStringLiteral("bound");
    }
    return {};
}

// When a document counts as ready to print. The bound holds whatever the
// document does; within it, a loaded page is printed once it has settled:
// nothing of its own in flight, and no change for `quiet`. The quiet time is
// what a page's script takes, at most, between one step of building itself
// and the next (an answer arriving, its rows put in; longer waits are its
// requests and timers, counted apart). Pages that fetch, stream or fill
// themselves from timers took 1 to 17 ms for that on a busy two-core
// machine; 300 ms leaves room for far slower scripts without making a page
// that has settled wait long.
//
// The user may ask for more: that an element matching the CSS selector
// `waitFor` exists (empty: none asked for), and `delay` longer after the page
// has settled (for animations that end by themselves); both within the bound.
// A page may say itself when it is ready (see settlewatch.cpp); either waits
// as long as settling does, never instead of it. `settle` false skips the
// waiting altogether, printing once the load and the web fonts are done:
// only for measuring what settling costs.
struct Readiness {
    std::chrono::milliseconds bound{30'000};
    std::chrono::milliseconds quiet{300};
    QString waitFor;
    std::chrono::milliseconds delay{0};
    bool settle = true;
    // The most a user may ask to wait after settling: longer than any
    // animation that ends by itself, and still short of the bound.
    static constexpr std::chrono::milliseconds MaxDelay{60'000};
    // Whether the headings are named for bookmarks just before printing.
    bool headings = false;
};

// What the window's user chose that documents wait for beyond settling (see
// Readiness), and how the run's documents go out: kept with the window's
// other settings, and edited in one dialog.
struct LoadingSettings {
    QString waitFor;
    std::chrono::milliseconds delay{0};
    // The run's documents go to the printer as one job, in list order, once
    // the last entry has settled.
    bool combine = false;
    // With combine: a contents page first.
    bool contents = false;
    friend bool operator==(const LoadingSettings &, const LoadingSettings &) = default;
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
