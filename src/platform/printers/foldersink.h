// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/printsink.h"

namespace platform {

// Writes each job as a PDF file into a folder instead of printing it. Files
// are named after their entries and never overwrite anything: a name already
// taken gets a number. A name the folder will not take (too long for it, or
// characters its file system cannot hold) costs that one document; a folder
// that takes no more files stops the run.
class FolderSink final : public core::PrintSink {
public:
    explicit FolderSink(QString folder);

    std::optional<core::SinkProblem> problem(const core::PrinterSettings &settings, core::StopToken &stop) override;
    QPageLayout pageLayout() const override { return m_layout; }
    core::SinkAnswer send(const QByteArray &pdf, const core::JobTicket &ticket, core::StopToken &stop) override;

private:
    static std::optional<QString> refusedSetting(const core::PrinterSettings &settings);

    QString m_folder;
    QPageLayout m_layout;
};

// A file name (without folder) for the PDF of `entry`: the document's own
// name with ".pdf" for its extension, with characters that file systems
// refuse replaced, and its end cut off where the name, with a number added,
// would not fit in the 255 bytes a file system allows for a name.
QString pdfFileName(const QString &entry);

} // namespace platform
