// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One job, or one file, for a whole run: each document the run hands over is
// added to a combined PDF instead of going out, and once the run is over the
// combined document goes to the destination as one job.

#include "core/printsink.h"

#include <QString>

#include <memory>
#include <mutex>
#include <optional>

namespace printing {

class PdfCombiner;

class CombiningSink final : public core::PrintSink {
public:
    // Documents go to `destination` combined; the parts wait in a temporary
    // folder under `partsFolder`. For a file (`toFile`), printing on both
    // sides is the combiner's own work: the destination is not asked about it.
    CombiningSink(std::shared_ptr<core::PrintSink> destination, const QString &partsFolder, bool toFile);
    ~CombiningSink() override;

    std::optional<core::SinkProblem> problem(const core::PrinterSettings &settings, core::StopToken &stop) override;
    QPageLayout pageLayout() const override;
    // Adds the document: Taken (with no job number yet), or LeftOut when it
    // cannot be added.
    core::SinkAnswer send(const QByteArray &pdf, const core::JobTicket &ticket, core::StopToken &stop) override;

    // The combined document's file, once the run is over; nothing when no
    // document was added or it cannot be written. Its pages, blank ones
    // included.
    std::optional<QString> combined();
    int pages() const;

private:
    std::shared_ptr<core::PrintSink> m_destination;
    std::unique_ptr<PdfCombiner> m_combiner;
    bool m_toFile = false;
    bool m_evenPages = false;
    mutable std::mutex m_mutex;  // the run's thread asks once the print thread is done
};

// Whether jobs printed with `settings` are printed on both sides of a sheet.
bool twoSided(const core::PrinterSettings &settings);

} // namespace printing
