#pragma once

// A stand-in for the engine and the printer, for faults that are hard to
// make happen on purpose with the real ones: a printer that fails part way,
// one that refuses jobs. Documents load and print at once unless told
// otherwise, and everything asked of it is recorded.

#include "platform/documentprinter.h"

#include <QHash>
#include <QStringList>

#include <functional>

struct ScriptedPrinter final : platform::DocumentPrinter {
    std::optional<QString> problem;        // what printerProblem() answers
    QHash<QString, QString> failingLoads;  // entry -> why its load fails
    int printerFailsAfter = -1;            // jobs taken before the printer fails; -1 never
    std::function<void(const QString &)> onLoad;  // runs inside load(), e.g. to change the list

    QStringList loaded;
    QStringList queued;  // titles of the jobs that reached the queue
    int problemChecks = 0;

    std::optional<QString> printerProblem() override
    {
        ++problemChecks;
        return problem;
    }
    void load(const QString &entry) override
    {
        loaded << entry;
        if (onLoad)
            onLoad(entry);
        m_failure = failingLoads.value(entry);
        m_load = failingLoads.contains(entry) ? platform::LoadState::Failed : platform::LoadState::Complete;
    }
    platform::LoadState loadState() const override { return m_load; }
    void print(const QString &title) override
    {
        if (printerFailsAfter >= 0 && queued.size() >= printerFailsAfter) {
            m_print = platform::PrintState::PrinterFailed;
            m_failure = QStringLiteral("printer on fire");
            return;
        }
        queued << title;
        m_print = platform::PrintState::Queued;
    }
    platform::PrintState printState() const override { return m_print; }
    QString failure() const override { return m_failure; }

private:
    platform::LoadState m_load = platform::LoadState::Failed;
    platform::PrintState m_print = platform::PrintState::DocumentFailed;
    QString m_failure;
};
