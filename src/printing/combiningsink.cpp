// SPDX-License-Identifier: GPL-3.0-or-later
#include "combiningsink.h"
#include "core/reasontext.h"

#include "printing/pdf/pdfcombiner.h"

#include <QFile>

namespace printing {

CombiningSink::CombiningSink(std::shared_ptr<core::PrintSink> destination, const QString &partsFolder, bool toFile)
    : m_destination(std::move(destination))
    , m_partsFolder(partsFolder)
    , m_toFile(toFile)
{
}

CombiningSink::~CombiningSink() = default;

bool twoSided(const core::PrinterSettings &settings)
{
    return settings.value(QStringLiteral("sides")).startsWith(u"two-sided");
}

void CombiningSink::setCombining(bool on)
{
    const std::lock_guard lock(m_mutex);
    m_combining = on;
}

bool CombiningSink::combining() const
{
    const std::lock_guard lock(m_mutex);
    return m_combining;
}

void CombiningSink::releaseNext()
{
    const std::lock_guard lock(m_mutex);
    m_releaseNext = true;
}

std::optional<core::SinkProblem> CombiningSink::problem(const core::PrinterSettings &settings, core::StopToken &stop)
{
    {
        const std::lock_guard lock(m_mutex);
        m_combiningThisRun = m_combining;
        m_releaseNext = false;
        if (m_combiningThisRun) {
            m_evenPages = twoSided(settings);
            // A run's combined document is its own: what an earlier run
            // left behind goes with its folder.
            m_combiner = std::make_unique<PdfCombiner>(m_partsFolder);
            if (!m_combiner->usable())
                return core::SinkProblem{QStringLiteral("No temporary folder could be made to combine the documents in.")};
        }
    }
    if (!m_toFile || !m_combiningThisRun)
        return m_destination->problem(settings, stop);
    core::PrinterSettings forFile = settings;
    forFile.options.removeIf([](const core::JobOption &option) { return option.name == u"sides"; });
    return m_destination->problem(forFile, stop);
}

QPageLayout CombiningSink::pageLayout() const
{
    return m_destination->pageLayout();
}

core::SinkAnswer CombiningSink::send(const QByteArray &pdf, const core::JobTicket &ticket, core::StopToken &stop)
{
    std::unique_lock lock(m_mutex);
    if (m_releaseNext) {
        m_releaseNext = false;
        lock.unlock();
        return release(ticket, stop);
    }
    if (!m_combiningThisRun || !m_combiner) {
        lock.unlock();
        return m_destination->send(pdf, ticket, stop);
    }
    const int before = m_combiner->pages();
    const QString title = ticket.title.isEmpty() ? ticket.entry : ticket.title;
    if (!m_combiner->add(pdf, title, m_evenPages))
        return {core::SinkAnswer::Kind::LeftOut, core::reasonText(QT_TRANSLATE_NOOP("Reason", "it could not be added to the combined document"))};
    core::SinkAnswer answer{core::SinkAnswer::Kind::Taken, {}};
    answer.bytes = pdf.size();
    answer.pages = m_combiner->pages() - before;
    return answer;
}

core::SinkAnswer CombiningSink::release(const core::JobTicket &ticket, core::StopToken &stop)
{
    const std::optional<QString> file = combined();
    if (!file)
        return {core::SinkAnswer::Kind::PrinterFailed, core::reasonText(QT_TRANSLATE_NOOP("Reason", "the combined document could not be written"))};
    return sendCombinedFile(*file, pages(), *m_destination, ticket, stop);
}

std::optional<QString> CombiningSink::combined()
{
    const std::lock_guard lock(m_mutex);
    return m_combiner ? m_combiner->combine() : std::nullopt;
}

int CombiningSink::pages() const
{
    const std::lock_guard lock(m_mutex);
    return m_combiner ? m_combiner->pages() : 0;
}

std::vector<PdfCombiner::Start> CombiningSink::starts() const
{
    const std::lock_guard lock(m_mutex);
    return m_combiner ? m_combiner->starts() : std::vector<PdfCombiner::Start>();
}

void CombiningSink::discard()
{
    const std::lock_guard lock(m_mutex);
    m_combiner.reset();
}

bool CombiningSink::evenPages() const
{
    const std::lock_guard lock(m_mutex);
    return m_evenPages;
}

bool CombiningSink::addFront(const QByteArray &pdf, const QString &title)
{
    const std::lock_guard lock(m_mutex);
    return m_combiner && m_combiner->addFront(pdf, title, m_evenPages);
}

core::SinkAnswer sendCombinedFile(const QString &path, int pages, core::PrintSink &destination,
                                  const core::JobTicket &ticket, core::StopToken &stop)
{
    QFile file(path);
    uchar *mapped = file.open(QIODevice::ReadOnly) ? file.map(0, file.size()) : nullptr;
    if (!mapped)
        return {core::SinkAnswer::Kind::PrinterFailed, core::reasonText(QT_TRANSLATE_NOOP("Reason", "the combined document could not be read"))};
    const QByteArray pdf = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), file.size());
    core::SinkAnswer answer = destination.send(pdf, ticket, stop);
    answer.pages = pages;
    answer.bytes = file.size();
    return answer;
}

} // namespace printing
