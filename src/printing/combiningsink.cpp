// SPDX-License-Identifier: GPL-3.0-or-later
#include "combiningsink.h"

#include "printing/pdf/pdfcombiner.h"

namespace printing {

CombiningSink::CombiningSink(std::shared_ptr<core::PrintSink> destination, const QString &partsFolder, bool toFile)
    : m_destination(std::move(destination))
    , m_combiner(std::make_unique<PdfCombiner>(partsFolder))
    , m_toFile(toFile)
{
}

CombiningSink::~CombiningSink() = default;

bool twoSided(const core::PrinterSettings &settings)
{
    return settings.value(QStringLiteral("sides")).startsWith(u"two-sided");
}

std::optional<core::SinkProblem> CombiningSink::problem(const core::PrinterSettings &settings, core::StopToken &stop)
{
    {
        const std::lock_guard lock(m_mutex);
        m_evenPages = twoSided(settings);
        if (!m_combiner->usable())
            return core::SinkProblem{QStringLiteral("No temporary folder could be made to combine the documents in.")};
    }
    if (!m_toFile)
        return m_destination->problem(settings, stop);
    core::PrinterSettings forFile = settings;
    forFile.options.removeIf([](const core::JobOption &option) { return option.name == u"sides"; });
    return m_destination->problem(forFile, stop);
}

QPageLayout CombiningSink::pageLayout() const
{
    return m_destination->pageLayout();
}

core::SinkAnswer CombiningSink::send(const QByteArray &pdf, const core::JobTicket &ticket, core::StopToken &)
{
    const std::lock_guard lock(m_mutex);
    const int before = m_combiner->pages();
    const QString title = ticket.title.isEmpty() ? ticket.entry : ticket.title;
    if (!m_combiner->add(pdf, title, m_evenPages))
        return {core::SinkAnswer::Kind::LeftOut, QStringLiteral("it could not be added to the combined document")};
    core::SinkAnswer answer{core::SinkAnswer::Kind::Taken, {}};
    answer.bytes = pdf.size();
    answer.pages = m_combiner->pages() - before;
    return answer;
}

std::optional<QString> CombiningSink::combined()
{
    const std::lock_guard lock(m_mutex);
    return m_combiner->combine();
}

int CombiningSink::pages() const
{
    const std::lock_guard lock(m_mutex);
    return m_combiner->pages();
}

} // namespace printing
