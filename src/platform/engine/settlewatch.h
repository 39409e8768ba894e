// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariantList>
#include <QWebEngineScript>

class QWebEngineScriptCollection;

#include <chrono>

namespace platform {

// What a page was doing when it was asked whether it had settled.
struct PageActivity {
    bool watched = false;        // the watcher answered; nothing below is known otherwise
    bool fontsLoading = false;   // web fonts still arriving
    int openRequests = 0;        // its own fetches and images under way, young enough to wait for
    int pendingTimers = 0;       // short timers set while loading that have not run yet
    bool loadEventDone = false;  // the window's load event has run
    bool activeSinceLoad = false;  // it changed, or work of its own ended, since then
    double quietForMs = 0;       // since the last such change or end
    int liveIntervals = 0;       // intervals it set and has not cleared
    // Whether the page says itself when it is ready, and whether it has.
    enum class Signal { Unused, Awaited, Given };
    Signal pageSignal = Signal::Unused;
    bool elementMissing = false;  // the element the user waits for is not there (yet)
    bool elementFound = false;    // it is there, as the page answered
};

// The watcher every document gets as it is created, in the page's own world
// (only there are the document's own fetch, XMLHttpRequest and timers to be
// seen); it answers through the settle check.
QWebEngineScript settleWatcher();
// Puts the watcher on a page's scripts, or takes it off (settling skipped).
void watchSettling(QWebEngineScriptCollection &scripts, bool watch);

// An expression for the page that answers what the readers below read, the
// document's title and where its clock started included; with `waitFor`,
// whether an element matching that CSS selector exists.
QString settleCheck(const QString &waitFor = {});
// `text` as a JSON string, quotes included: a literal a script reads as data.
QString jsonString(const QString &text);
// An expression that answers whether `selector` is a CSS selector the page's
// engine accepts.
QString selectorCheck(const QString &selector);
PageActivity activityFrom(const QVariantList &answer);
QString titleFrom(const QVariantList &answer);
QString readyStateFrom(const QVariantList &answer);
double timeOriginFrom(const QVariantList &answer);

// Whether a loaded page is ready to print: nothing in flight, and quiet for
// `quiet` (or not changed at all since it loaded: printed at once).
bool hasSettled(const PageActivity &activity, std::chrono::milliseconds quiet);

// Whether a loaded page is ready to print: settled, the element the user
// waits for there, and the page's own word given where it gives one.
bool isReady(const PageActivity &activity, std::chrono::milliseconds quiet);
// Why a page not ready at its bound was not: the element that never
// appeared (`waitFor` names it), the word the page never gave, or what was
// still going on.
QString notReadyReason(const PageActivity &activity, const QString &waitFor);

// What was still going on, in words for the user, for a page printed before
// it settled ("3 requests still open", "the page kept changing"); empty when
// the watcher did not answer.
QString stillGoingOn(const PageActivity &activity);

} // namespace platform
