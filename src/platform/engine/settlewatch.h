// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariantList>
#include <QWebEngineScript>

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
};

// The watcher every document gets as it is created, in the page's own world
// (only there are the document's own fetch, XMLHttpRequest and timers to be
// seen); it answers through the settle check.
QWebEngineScript settleWatcher();

// An expression for the page that answers what the readers below read, the
// document's title and where its clock started included.
QString settleCheck();
PageActivity activityFrom(const QVariantList &answer);
QString titleFrom(const QVariantList &answer);
QString readyStateFrom(const QVariantList &answer);
double timeOriginFrom(const QVariantList &answer);

// Whether a loaded page is ready to print: nothing in flight, and quiet for
// `quiet` (or not changed at all since it loaded: printed at once).
bool hasSettled(const PageActivity &activity, std::chrono::milliseconds quiet);

// What was still going on, in words for the user, for a page printed before
// it settled ("3 requests still open", "the page kept changing"); empty when
// the watcher did not answer.
QString stillGoingOn(const PageActivity &activity);

} // namespace platform
