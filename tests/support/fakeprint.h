// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Stand-ins for the browser pages and the printer, for faults that are hard
// to make happen on purpose with the real ones: a document that fails or
// arrives late, a printer that refuses one job, fails part way or stops
// answering. Documents render and print at once unless told otherwise, and
// everything asked of them is recorded.

#include "core/documentrenderer.h"
#include "core/loadfailure.h"
#include "core/printsink.h"

#include <QHash>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

// What the scripted pages do, shared by all the pages a run makes.
struct RenderScript {
    QHash<QString, QString> failing;     // entry -> why it cannot be rendered
    QSet<QString> incomplete;            // entries still loading at their bound
    QSet<QString> held;                  // entries that render only when released
    QSet<QString> engineGone;            // entries whose page finds the engine can start no more pages
    QStringList started;                 // every entry a page began on, in order
    int cancelled = 0;
    int pagesMade = 0;
};

class ScriptedRenderer final : public core::DocumentRenderer {
public:
    explicit ScriptedRenderer(std::shared_ptr<RenderScript> script) : m_script(std::move(script)) { }

    void render(quint64 job, const QString &entry, const QPageLayout &, const core::Readiness &) override
    {
        cancel();
        m_script->started << entry;
        m_job = job;
        m_entry = entry;
        m_busy = true;
        if (!m_script->held.contains(entry))
            QMetaObject::invokeMethod(this, [this, job] { finish(job); }, Qt::QueuedConnection);
    }
    void cancel() override
    {
        if (m_busy)
            ++m_script->cancelled;
        m_busy = false;
        ++m_job;
    }
    // Lets a held entry's document arrive now.
    bool release(const QString &entry)
    {
        if (!m_busy || m_entry != entry)
            return false;
        finish(m_job);
        return true;
    }

private:
    void finish(quint64 job)
    {
        if (!m_busy || job != m_job)
            return;
        m_busy = false;
        core::RenderedDocument document;
        if (m_script->engineGone.contains(m_entry)) {
            document.failure = core::engineFailed();
            document.engineFailed = true;
        } else if (m_script->failing.contains(m_entry)) {
            document.failure = m_script->failing.value(m_entry);
        } else {
            document.state = m_script->incomplete.contains(m_entry) ? core::RenderedDocument::State::Incomplete
                                                                    : core::RenderedDocument::State::Complete;
            document.pdf = m_entry.toUtf8();
            document.title = m_entry;
            if (document.state == core::RenderedDocument::State::Incomplete)
                document.failure = QStringLiteral("still loading after 30 s");
        }
        Q_EMIT rendered(job, document);
    }

    std::shared_ptr<RenderScript> m_script;
    quint64 m_job = 0;
    QString m_entry;
    bool m_busy = false;
};

// The pages of one test, and a way to reach each of them.
struct ScriptedPages {
    std::shared_ptr<RenderScript> script = std::make_shared<RenderScript>();
    std::shared_ptr<QList<ScriptedRenderer *>> made = std::make_shared<QList<ScriptedRenderer *>>();

    core::RendererFactory factory()
    {
        return [script = script, made = made] {
            ++script->pagesMade;
            auto renderer = std::make_unique<ScriptedRenderer>(script);
            made->append(renderer.get());
            return std::unique_ptr<core::DocumentRenderer>(std::move(renderer));
        };
    }
    bool release(const QString &entry)
    {
        script->held.remove(entry);
        for (ScriptedRenderer *page : *made) {
            if (page->release(entry))
                return true;
        }
        return false;
    }
};

// What the scripted printer does and what it was given. It runs on the
// print thread, so everything goes through the lock.
struct PrinterScript {
    mutable QMutex lock;
    std::optional<QString> problem;
    QSet<QString> refused;       // entries whose job the queue refuses
    QSet<QString> answerLost;    // entries whose job the queue takes, but whose answer is lost
    int failsAfter = -1;         // jobs taken before the printer fails; -1 never
    bool stalls = false;         // stops answering until its bound
    // Stops answering, deaf to its stop token, until released.
    std::shared_ptr<QSemaphore> deafUntil;
    std::atomic<bool> deafened{false};
    std::atomic<bool> answeredLate{false};
    std::atomic<bool> stalled{false};  // a job is in the stalling printer
    std::atomic<bool> stallTimedOut{false};  // the stalled call ended at its bound, not abandoned
    std::function<void()> whenGone;    // runs as the printer is destroyed
    QStringList taken;           // entries whose job reached the queue, in order
    QList<QByteArray> documents; // what each taken job held
    QList<int> copies;
    int checks = 0;

    QStringList takenEntries() const
    {
        QMutexLocker locked(&lock);
        return taken;
    }
};

class ScriptedSink final : public core::PrintSink {
public:
    explicit ScriptedSink(std::shared_ptr<PrinterScript> script) : m_script(std::move(script)) { }
    ~ScriptedSink() override
    {
        if (m_script->whenGone)
            m_script->whenGone();
    }

    std::optional<core::SinkProblem> problem(const core::PrinterSettings &settings, core::StopToken &) override
    {
        QMutexLocker locked(&m_script->lock);
        ++m_script->checks;
        m_copies = settings.copies;
        if (m_script->problem)
            return core::SinkProblem{*m_script->problem};
        return std::nullopt;
    }
    QPageLayout pageLayout() const override { return {}; }
    core::SinkAnswer send(const QByteArray &pdf, const core::JobTicket &ticket, core::StopToken &stop) override
    {
        using Kind = core::SinkAnswer::Kind;
        if (m_script->deafUntil) {
            m_script->deafened = true;
            m_script->deafUntil->acquire();
            m_script->answeredLate = true;
            return {Kind::Taken, {}};
        }
        {
            QMutexLocker locked(&m_script->lock);
            if (!m_script->stalls) {
                if (m_script->refused.contains(ticket.entry))
                    return {Kind::DocumentRefused, QStringLiteral("Document Unprintable.")};
                if (m_script->failsAfter >= 0 && m_script->taken.size() >= m_script->failsAfter)
                    return {Kind::PrinterFailed, QStringLiteral("printer on fire")};
                m_script->taken << ticket.entry;
                m_script->documents << pdf;
                m_script->copies << m_copies;
                if (m_script->answerLost.contains(ticket.entry))
                    return core::answerUnread(QStringLiteral("the connection was closed"));
                return {Kind::Taken, {}};
            }
        }
        m_script->stalled = true;
        stop.waitUntilStopped();
        m_script->stallTimedOut = stop.timedOut() && !stop.abandoned();
        return {Kind::PrinterFailed, QStringLiteral("the print system did not answer")};
    }

private:
    std::shared_ptr<PrinterScript> m_script;
    int m_copies = 1;
};
