// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One job, or one file, for a whole run: each document the run hands over is
// added to a combined PDF instead of going out, and once the run is over the
// combined document goes to the destination as one job. Switched off, it
// hands every document straight on, so the window can keep one sink for runs
// of either kind.

#include "core/printsink.h"
#include "printing/pdf/pdfcombiner.h"

#include <QString>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace printing {


class CombiningSink final : public core::PrintSink {
public:
    // Documents go to `destination` combined; the parts wait in a temporary
    // folder under `partsFolder`. For a file (`toFile`), printing on both
    // sides is the combiner's own work: the destination is not asked about it.
    CombiningSink(std::shared_ptr<core::PrintSink> destination, const QString &partsFolder, bool toFile);
    ~CombiningSink() override;

    // Whether the runs that begin from now on combine; on at first. Each
    // combining run starts a combined document of its own when the printer
    // is checked.
    void setCombining(bool on);
    bool combining() const;
    // The next document handed over, whatever it is, stands for the
    // combined one: it is closed and goes to the destination as one job.
    // Lets the combined job travel through the print thread that talks to
    // the destination, as every other job does.
    void releaseNext();

    std::optional<core::SinkProblem> problem(const core::PrinterSettings &settings, core::StopToken &stop) override;
    QPageLayout pageLayout() const override;
    // Adds the document: Taken (with no job number yet), or LeftOut when it
    // cannot be added.
    core::SinkAnswer send(const QByteArray &pdf, const core::JobTicket &ticket, core::StopToken &stop) override;
    bool followsJobs() const override { return m_destination->followsJobs(); }
    std::optional<QList<core::JobState>> jobStates(const QList<int> &jobIds, core::StopToken &stop) override
    {
        return m_destination->jobStates(jobIds, stop);
    }
    void startFollowing(core::StopToken &stop) override { m_destination->startFollowing(stop); }
    void stopFollowing(core::StopToken &stop) override { m_destination->stopFollowing(stop); }

    // The combined document's file, once the run is over; nothing when no
    // document was added or it cannot be written. Its pages, blank ones
    // included.
    std::optional<QString> combined();
    int pages() const;
    // Where each document added starts (see PdfCombiner::starts), and
    // whether each starts on a sheet of its own.
    std::vector<PdfCombiner::Start> starts() const;
    bool evenPages() const;
    // Puts `pdf` in front of the documents added, before combined().
    bool addFront(const QByteArray &pdf, const QString &title);
    // Lets the combined document go once its job has its answer, rather
    // than keep it on the disk until the next run.
    void discard();

private:
    core::SinkAnswer release(const core::JobTicket &ticket, core::StopToken &stop);

    std::shared_ptr<core::PrintSink> m_destination;
    QString m_partsFolder;
    std::unique_ptr<PdfCombiner> m_combiner;
    bool m_toFile = false;
    bool m_evenPages = false;
    bool m_combining = true;
    bool m_combiningThisRun = true;
    bool m_releaseNext = false;
    mutable std::mutex m_mutex;  // the run's thread asks once the print thread is done
};

// Whether jobs printed with `settings` are printed on both sides of a sheet.
bool twoSided(const core::PrinterSettings &settings);

// The combined document at `path`, of `pages` pages, handed to `destination`
// as one job named after `firstEntry`: mapped, not read, so the pages of a
// long run's document are the file's own and never all in memory at once.
core::SinkAnswer sendCombinedFile(const QString &path, int pages, core::PrintSink &destination,
                                  const core::JobTicket &ticket, core::StopToken &stop);

} // namespace printing
