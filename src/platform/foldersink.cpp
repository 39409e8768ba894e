#include "foldersink.h"

#include "entryaddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>

namespace platform {

namespace {

constexpr int MaxStemLength = 120;

QPageSize localPaper()
{
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                         : QPageSize::A4);
}

} // namespace

QString pdfFileName(const QString &entry)
{
    QString stem = QFileInfo(documentName(entry)).completeBaseName();
    if (stem.isEmpty())
        stem = QFileInfo(documentName(entry)).fileName();
    for (QChar &c : stem) {
        if (c.category() == QChar::Other_Control || QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'_';
    }
    stem = stem.left(MaxStemLength).trimmed();
    if (stem.isEmpty() || stem.startsWith(u'.'))
        stem.prepend(QStringLiteral("document"));
    return stem + u".pdf";
}

FolderSink::FolderSink(QString folder)
    : m_folder(std::move(folder))
    , m_layout(printLayout(localPaper()))
{
}

std::optional<QString> FolderSink::problem(StopToken &)
{
    if (!QDir().mkpath(m_folder))
        return u"The folder \"" + m_folder + u"\" cannot be made, so nothing was written.";
    const QFileInfo folder(m_folder);
    if (!folder.isDir() || !folder.isWritable())
        return u"The folder \"" + m_folder + u"\" cannot be written to, so nothing was written.";
    return std::nullopt;
}

SinkAnswer FolderSink::send(const QByteArray &pdf, const JobTicket &ticket, StopToken &)
{
    const QString name = pdfFileName(ticket.entry);
    const QString stem = name.chopped(4);
    for (int attempt = 1; attempt < 10'000; ++attempt) {
        const QString candidate = attempt == 1 ? name : stem + u'-' + QString::number(attempt) + u".pdf";
        QFile file(QDir(m_folder).filePath(candidate));
        // NewOnly never replaces a file, even one made a moment ago by
        // someone else.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            return {SinkAnswer::Kind::PrinterFailed, file.errorString()};
        }
        if (file.write(pdf) != pdf.size() || !file.flush()) {
            const QString why = file.errorString();
            file.remove();
            return {SinkAnswer::Kind::PrinterFailed, why};
        }
        return {SinkAnswer::Kind::Taken, {}};
    }
    return {SinkAnswer::Kind::DocumentRefused, QStringLiteral("no free file name was left for it")};
}

} // namespace platform
