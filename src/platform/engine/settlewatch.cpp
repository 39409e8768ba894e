// SPDX-License-Identifier: GPL-3.0-or-later
#include "settlewatch.h"
#include "core/reasontext.h"

#include "core/messagetext.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineScriptCollection>

#include <algorithm>

namespace platform {

namespace {

// How a page is watched, and why so:
// - Requests: the document's own fetch() and XMLHttpRequest calls, and its
//   images still arriving, are work in flight. One open longer than 3 s is
//   taken for a long-lived connection (a stream, a long poll) and no longer
//   counted; WebSocket and EventSource are never counted. Requests made from
//   an interval, or from a timer set after the page loaded, are its polling,
//   not its building, and are not counted either.
// - Timers: a setTimeout of at most 3 s set while the page loads (up to the
//   end of its load handlers) counts as work in flight until it runs: that
//   is how a page fills a section 1.5 s after loading, which no quiet time
//   would wait for. Intervals, longer timers and timers set later do not
//   count, so endless timers cannot hold a page.
// - Changes: any change to the document, and the end of any counted request
//   or timer, restarts the quiet time. A page quiet since its load event is
//   printed at once, unless it runs an interval: that may change it at any
//   moment, so it must show one quiet time first (a clock ticking each
//   second does, a document changed every 50 ms never does).
// - The page's own word: a page that sets `data-print-ready` on its <html>
//   element, or a boolean `window.printReady`, says when it is ready; it is
//   waited for until each it uses says true, and must still settle. Setting
//   the attribute is no change to wait out. A page that uses neither is
//   unaffected.
// - Animations: CSS animations change no document; a page without a view
//   is given no animation frames, so a script animation never runs at all.
// A page whose document keeps changing is printed at its bound, named so.
// Lazy images outside the view are left to the engine, which loads them for
// print. Only the top document is watched; frames' own work is not waited for.
const QString WatcherSource = QStringLiteral(R"js(
(() => {
  'use strict';
  const shortTimerMs = 3000;
  const longRequestMs = 3000;
  const now = () => performance.now();
  const native = {
    setTimeout: window.setTimeout, clearTimeout: window.clearTimeout,
    setInterval: window.setInterval, clearInterval: window.clearInterval, fetch: window.fetch,
    send: XMLHttpRequest.prototype.send,
  };
  let loadedAt = -1, lastActivity = 0, duringLoad = true, inBackground = false;
  const requests = new Set();
  const timers = new Set();
  const intervals = new Set();
  const activity = () => { lastActivity = now(); };
  // The page's own word that it is ready is no change to wait out.
  const isReadySignal = (record) => record.type === 'attributes' && record.attributeName === 'data-print-ready'
      && record.target === document.documentElement;
  // Watched from the load on: what changes before it is the loading itself,
  // and a large document's every node would otherwise be a change to note.
  const observer = new MutationObserver((records) => { if (!records.every(isReadySignal)) activity(); });
  window.addEventListener('load', () => {
    observer.observe(document, { subtree: true, childList: true, attributes: true, characterData: true });
    loadedAt = now();
    native.setTimeout.call(window, () => { duringLoad = false; }, 0);
  }, { once: true, capture: true });

  const track = () => {
    if (inBackground) return () => {};
    const request = { at: now() };
    requests.add(request);
    let ended = false;
    return () => { if (!ended) { ended = true; requests.delete(request); activity(); } };
  };
  const inTheBackground = (callback) => function (...args) {
    const was = inBackground;
    inBackground = true;
    try { return callback.apply(this, args); } finally { inBackground = was; }
  };

  if (native.fetch) {
    window.fetch = function (...args) {
      const done = track();
      try {
        const answer = native.fetch.apply(this, args);
        answer.then(done, done);
        return answer;
      } catch (error) { done(); throw error; }
    };
  }
  XMLHttpRequest.prototype.send = function (...args) {
    const done = track();
    this.addEventListener('loadend', done, { once: true });
    try { return native.send.apply(this, args); } catch (error) { done(); throw error; }
  };
  window.setTimeout = function (handler, delay, ...rest) {
    if (typeof handler !== 'function') return native.setTimeout.call(window, handler, delay, ...rest);
    const counted = duringLoad && !inBackground && (Number(delay) || 0) <= shortTimerMs;
    if (!counted) return native.setTimeout.call(window, inTheBackground(handler), delay, ...rest);
    const id = native.setTimeout.call(window, function (...args) {
      timers.delete(id);
      activity();
      return handler.apply(this, args);
    }, delay, ...rest);
    timers.add(id);
    return id;
  };
  window.clearTimeout = function (id) {
    timers.delete(id);
    return native.clearTimeout.call(window, id);
  };
  window.setInterval = function (handler, delay, ...rest) {
    if (typeof handler === 'function') handler = inTheBackground(handler);
    const id = native.setInterval.call(window, handler, delay, ...rest);
    intervals.add(id);
    return id;
  };
  window.clearInterval = function (id) {
    intervals.delete(id);
    return native.clearInterval.call(window, id);
  };
  // 0: the page does not say when it is ready; 1: it will, and has not yet;
  // 2: it has said so.
  const pageSignal = () => {
    const root = document.documentElement;
    const attribute = root ? root.getAttribute('data-print-ready') : null;
    let flag;
    try { flag = window.printReady; } catch (error) { flag = undefined; }
    if (attribute === null && typeof flag !== 'boolean') return 0;
    return (attribute === null || attribute === 'true') && flag !== false ? 2 : 1;
  };
  // `otherwiseReady`: its fonts are in and the element waited for, if any,
  // is there. A page then ready at once is printed on this answer, and is
  // watched no longer: observing a document while it is turned into a PDF
  // cost static documents several per cent of their rate.
  Object.defineProperty(window, '__tavimarkSettle', { value: (otherwiseReady) => {
    const at = now();
    let open = 0;
    for (const request of requests) if (at - request.at < longRequestMs) ++open;
    for (const image of document.images) if (!image.complete && image.loading !== 'lazy') ++open;
    const loaded = loadedAt >= 0;
    const changed = loaded && lastActivity > loadedAt;
    const signal = pageSignal();
    if (otherwiseReady && loaded && !changed && open === 0 && timers.size === 0 && intervals.size === 0 && signal !== 1)
      observer.disconnect();
    return [open, timers.size, loaded, changed, loaded ? at - Math.max(lastActivity, loadedAt) : 0, intervals.size, signal];
  } });
})();
)js");

} // namespace

QWebEngineScript settleWatcher()
{
    QWebEngineScript watcher;
    watcher.setName(QStringLiteral("settle watcher"));
    watcher.setInjectionPoint(QWebEngineScript::DocumentCreation);
    watcher.setWorldId(QWebEngineScript::MainWorld);
    watcher.setRunsOnSubFrames(false);
    watcher.setSourceCode(WatcherSource);
    return watcher;
}

void watchSettling(QWebEngineScriptCollection &scripts, bool watch)
{
    const QList<QWebEngineScript> present = scripts.find(QStringLiteral("settle watcher"));
    if (watch && present.isEmpty())
        scripts.insert(settleWatcher());
    if (!watch) {
        for (const QWebEngineScript &script : present)
            scripts.remove(script);
    }
}

// One round trip: web fonts (text set in one that has not arrived would print
// in a stand-in font, or not at all), the page's own work, and the title for
// the page headings.
// The selector the user waits for is handed over as a JSON string, data the
// page reads and never source it runs, whatever quotes or tags it holds.
QString settleCheck(const QString &waitFor)
{
    const QString selector = waitFor.isEmpty() ? QStringLiteral("null") : jsonString(waitFor);
    return QStringLiteral(
               "(s => { const fonts = document.fonts ? document.fonts.status : 'loaded';"
               " let element = null;"
               " if (s !== null) { try { element = document.querySelector(s) !== null; } catch (error) { element = false; } }"
               " const work = typeof window.__tavimarkSettle === 'function'"
               " ? window.__tavimarkSettle(fonts !== 'loading' && element !== false) : null;"
               " return [fonts, document.readyState, document.title, performance.timeOrigin, work, element]; })(%1)")
        .arg(selector);
}

QString jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString selectorCheck(const QString &selector)
{
    return QStringLiteral("(s => { try { document.createDocumentFragment().querySelector(s); return true; }"
                          " catch (error) { return false; } })(%1)")
        .arg(jsonString(selector));
}

PageActivity activityFrom(const QVariantList &answer)
{
    PageActivity activity;
    activity.fontsLoading = answer.value(0).toString() == u"loading";
    const bool elementAnswered = answer.value(5).metaType().id() == QMetaType::Bool;
    activity.elementMissing = elementAnswered && !answer.value(5).toBool();
    activity.elementFound = elementAnswered && answer.value(5).toBool();
    const QVariantList work = answer.value(4).toList();
    if (work.size() < 6)
        return activity;
    activity.watched = true;
    activity.openRequests = work.at(0).toInt();
    activity.pendingTimers = work.at(1).toInt();
    activity.loadEventDone = work.at(2).toBool();
    activity.activeSinceLoad = work.at(3).toBool();
    activity.quietForMs = work.at(4).toDouble();
    activity.liveIntervals = work.at(5).toInt();
    activity.pageSignal = PageActivity::Signal(std::clamp(work.value(6).toInt(), 0, 2));
    return activity;
}

QString titleFrom(const QVariantList &answer) { return answer.value(2).toString(); }
QString readyStateFrom(const QVariantList &answer) { return answer.value(1).toString(); }
double timeOriginFrom(const QVariantList &answer) { return answer.value(3).toDouble(); }

bool hasSettled(const PageActivity &activity, std::chrono::milliseconds quiet)
{
    if (activity.fontsLoading)
        return false;
    // A document that the watcher never reached (one the page's own script
    // replaced, say) is taken as it was before there was a watcher.
    if (!activity.watched)
        return true;
    if (activity.openRequests > 0 || activity.pendingTimers > 0 || !activity.loadEventDone)
        return false;
    const bool quietSinceLoad = !activity.activeSinceLoad && activity.liveIntervals == 0;
    return quietSinceLoad || activity.quietForMs >= double(quiet.count());
}

bool isReady(const PageActivity &activity, std::chrono::milliseconds quiet)
{
    return hasSettled(activity, quiet) && !activity.elementMissing && activity.pageSignal != PageActivity::Signal::Awaited;
}

QString notReadyReason(const PageActivity &activity, const QString &waitFor)
{
    if (activity.elementMissing)
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the element \"%1\" never appeared"))
            .arg(core::oneLine(waitFor));
    if (activity.pageSignal == PageActivity::Signal::Awaited)
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the page never said it was ready"));
    return stillGoingOn(activity);
}

QString stillGoingOn(const PageActivity &activity)
{
    if (activity.fontsLoading)
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "its web fonts had not arrived"));
    if (!activity.watched)
        return {};
    if (activity.openRequests == 1)
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "1 request still open"));
    if (activity.openRequests > 1)
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "%1 requests still open")).arg(activity.openRequests);
    if (activity.pendingTimers > 0)
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "its timers had not run yet"));
    if (activity.loadEventDone)
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the page kept changing"));
    return {};
}

} // namespace platform
