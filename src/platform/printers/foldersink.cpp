// SPDX-License-Identifier: GPL-3.0-or-later
#include "foldersink.h"
#include "core/reasontext.h"

#include "core/entryaddress.h"
#include "core/messagetext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>
#include <QTextBoundaryFinder>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using core::appliedByTheProgram;
using core::documentName;
using core::JobOption;
using core::JobTicket;
using core::layoutFor;
namespace option = core::option;
using core::PrinterSettings;
using core::printLayout;
using core::quoted;
using core::SinkAnswer;
using core::SinkProblem;
using core::StopToken;

namespace platform {

namespace {

constexpr int MaxStemLength = 120;
// The longest name a folder takes, in bytes of the file-name encoding.
constexpr qsizetype MaxNameBytes = 255;
// A name already taken gets a number, up to this one.
constexpr int LastNumber = 9'999;
const QString Extension = QStringLiteral(".pdf");

QPageSize localPaper()
{
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                         : QPageSize::A4);
}

// The start of `stem`, cut between two characters as a reader sees them, that
// leaves room for the highest number and the extension in any folder.
QString fittingStem(const QString &stem)
{
    const qsizetype room = MaxNameBytes - QFile::encodeName(u'-' + QString::number(LastNumber) + Extension).size();
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, stem);
    qsizetype fits = 0;
    qsizetype bytes = 0;
    for (qsizetype next = characters.toNextBoundary(); next > 0; next = characters.toNextBoundary()) {
        bytes += QFile::encodeName(stem.sliced(fits, next - fits)).size();
        if (next > MaxStemLength || bytes > room)
            break;
        fits = next;
    }
    return stem.first(fits);
}

// Reasons that concern one name (too long, or characters the folder's file
// system cannot hold) rather than the folder: the next name may well do.
bool refusesOnlyTheName(int error)
{
    return error == ENAMETOOLONG || error == EINVAL || error == EILSEQ;
}

// Opens `path` into `file` as a new file, never replacing anything, even a
// file made a moment ago by someone else or a link leading nowhere. 0, or
// the system's error number, which says whether the name or the folder was
// at fault.
int createNew(QFile &file, const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return EIO;
    }
    return 0;
}

SinkAnswer writeAll(QFile &file, const QString &path, const QByteArray &pdf)
{
    if (file.write(pdf) != pdf.size() || !file.flush()) {
        const QString why = file.errorString();
        file.close();
        QFile::remove(path);
        return {SinkAnswer::Kind::PrinterFailed, why};
    }
    SinkAnswer taken{SinkAnswer::Kind::Taken, {}};
    taken.file = path;
    return taken;
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
    const QString document = QStringLiteral("document");
    stem = stem.trimmed();
    if (stem.isEmpty() || stem.startsWith(u'.'))
        stem.prepend(document);
    // A first character of hundreds of combining marks leaves nothing.
    stem = fittingStem(stem).trimmed();
    return (stem.isEmpty() ? document : stem) + Extension;
}

FolderSink::FolderSink(QString folder)
    : m_folder(std::move(folder))
    , m_layout(printLayout(localPaper()))
{
}

std::optional<SinkProblem> FolderSink::problem(const PrinterSettings &settings, StopToken &)
{
    if (std::optional<QString> refused = refusedSetting(settings))
        return SinkProblem{*refused, true};
    if (const QFileInfo given(m_folder); given.exists() && !given.isDir())
        return SinkProblem{
            QCoreApplication::translate("platform::Printers",
                                        "The folder \"%1\" is a file, not a folder, so nothing was written.")
                .arg(m_folder)};
    if (!QDir().mkpath(m_folder))
        return SinkProblem{QCoreApplication::translate("platform::Printers",
                                                       "The folder \"%1\" cannot be made, so nothing was written.")
                               .arg(m_folder)};
    const QFileInfo folder(m_folder);
    if (!folder.isDir() || !folder.isWritable())
        return SinkProblem{QCoreApplication::translate(
                               "platform::Printers", "The folder \"%1\" cannot be written to, so nothing was written.")
                               .arg(m_folder)};
    m_layout = layoutFor(settings, printLayout(localPaper()));
    return std::nullopt;
}

// A file has a paper size, an orientation and pages; the rest of what a
// printer offers (sides, colour, copies) would be lost on it unsaid.
std::optional<QString> FolderSink::refusedSetting(const PrinterSettings &settings)
{
    if (!settings.printer.isEmpty())
        return QCoreApplication::translate("platform::Printers",
                                           "PDF files are written, not printed on \"%1\", so nothing was written.")
            .arg(quoted(settings.printer));
    if (settings.copies > 1)
        return QCoreApplication::translate("platform::Printers",
                                           "A PDF file is written once, not in copies, so nothing was written.");
    for (const JobOption &option : settings.options) {
        if (option.name != option::Media && !appliedByTheProgram(option.name))
            return QCoreApplication::translate("platform::Printers",
                                               "A PDF file has no option %1 (it has media, orientation-requested and "
                                               "page-ranges), so nothing was written.")
                .arg(option.name);
    }
    return std::nullopt;
}

SinkAnswer FolderSink::send(const QByteArray &pdf, const JobTicket &ticket, StopToken &)
{
    const QString name = pdfFileName(ticket.entry);
    const QString stem = name.chopped(Extension.size());
    for (int number = 1; number <= LastNumber; ++number) {
        const QString path = QDir(m_folder).filePath(number == 1 ? name : stem + u'-' + QString::number(number) + Extension);
        QFile file;
        const int error = createNew(file, path);
        if (error == EEXIST)
            continue;
        if (refusesOnlyTheName(error))
            return {SinkAnswer::Kind::DocumentRefused,
                    core::reasonText(QT_TRANSLATE_NOOP("Reason", "the folder does not take its file name (%1)"))
                        .arg(qt_error_string(error))};
        if (error != 0)
            return {SinkAnswer::Kind::PrinterFailed, qt_error_string(error)};
        return writeAll(file, path, pdf);
    }
    return {SinkAnswer::Kind::DocumentRefused,
            core::reasonText(QT_TRANSLATE_NOOP("Reason", "no free file name was left for it"))};
}

} // namespace platform
