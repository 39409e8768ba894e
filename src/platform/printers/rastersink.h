// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/printsink.h"

namespace platform {

// The default printer through QPrinter, for systems without CUPS: each page
// of the engine's PDF is painted as an image. Slow and without text, but it
// reaches any printer Qt can.
class RasterSink final : public core::PrintSink {
public:
    std::optional<core::SinkProblem> problem(const core::PrinterSettings &settings, core::StopToken &stop) override;
    QPageLayout pageLayout() const override { return m_layout; }
    core::SinkAnswer send(const QByteArray &pdf, const core::JobTicket &ticket, core::StopToken &stop) override;

private:
    QPageLayout m_layout;
    int m_copies = 1;
};

} // namespace platform
