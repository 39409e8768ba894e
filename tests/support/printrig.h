// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading what the print test rig's queue received, and starting a private
// rig of a test's own when the test must pause or reconfigure its scheduler.

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace rig {

inline QString sharedFolder() { return qEnvironmentVariable("TAVIMARK_RIG"); }

// The shared rig's address for CUPS_SERVER; empty when it is not running.
inline QString sharedServer()
{
    QFile server(sharedFolder() + u"/server");
    return server.open(QIODevice::ReadOnly) ? QString::fromLatin1(server.readAll().trimmed()) : QString();
}

// Whether the scheduler at `server` has no job left to print: every job it
// took has come out.
inline bool queueEmpty(const QString &server)
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-h"), server, QStringLiteral("-o")});
    return lpstat.waitForFinished(10000) && lpstat.exitCode() == 0 && lpstat.readAllStandardOutput().trimmed().isEmpty();
}

// Jobs whose titles begin with `prefix` (every test prints entries of its
// own), in the order the queue took them: their titles, or what pdftotext
// finds in them.
inline QStringList jobFiles(const QString &folder, const QString &prefix)
{
    const QDir jobs(folder + u"/jobs");
    QStringList files;
    for (const QString &pdf : jobs.entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name)) {
        QFile title(jobs.filePath(pdf.chopped(4) + u".title"));
        if (title.open(QIODevice::ReadOnly) && QString::fromUtf8(title.readAll()).startsWith(prefix))
            files << jobs.filePath(pdf);
    }
    return files;
}

inline QString titleOf(const QString &pdfFile)
{
    QFile title(pdfFile.chopped(4) + u".title");
    return title.open(QIODevice::ReadOnly) ? QString::fromUtf8(title.readAll()) : QString();
}

// The job's options as the rig's backend recorded them: "queue" (the queue
// that printed it), "copies", and every option the scheduler passed, values
// as it gave them (a space inside one comes backslash-escaped). Empty when
// the file is missing.
inline QMap<QString, QString> jobOptions(const QString &pdfFile)
{
    QMap<QString, QString> options;
    QFile file(pdfFile.chopped(4) + u".options");
    if (!file.open(QIODevice::ReadOnly))
        return options;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(u'=');
        options.insert(line.left(equals), equals < 0 ? QString() : line.mid(equals + 1));
    }
    return options;
}

inline QStringList jobTitles(const QString &prefix, const QString &folder = sharedFolder())
{
    QStringList titles;
    for (const QString &file : jobFiles(folder, prefix))
        titles << titleOf(file);
    return titles;
}

inline QString pdfText(const QString &file, const QStringList &options = {})
{
    QFile head(file);
    if (!head.open(QIODevice::ReadOnly) || !head.read(5).startsWith("%PDF-"))
        return QStringLiteral("(not a PDF)");
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), options + QStringList{file, QStringLiteral("-")});
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

inline QStringList jobTexts(const QString &prefix, const QString &folder = sharedFolder())
{
    QStringList texts;
    for (const QString &file : jobFiles(folder, prefix))
        texts << pdfText(file).simplified();
    return texts;
}

// A scheduler of the test's own, with `extra` in its configuration; stopped
// when the test is done with it, whatever happened.
class PrivateRig {
public:
    explicit PrivateRig(const QString &extra = {}) : m_extra(extra)
    {
        QProcess start;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("RIG_CUPSD_EXTRA"), extra);
        start.setProcessEnvironment(environment);
        start.start(script(), {QStringLiteral("start"), m_dir.path()});
        start.waitForFinished(60000);
        QFile server(m_dir.filePath(QStringLiteral("server")));
        if (start.exitCode() == 0 && server.open(QIODevice::ReadOnly))
            m_server = QString::fromUtf8(server.readAll().trimmed());
    }
    ~PrivateRig()
    {
        resume();
        QProcess::execute(script(), {QStringLiteral("stop"), m_dir.path()});
    }
    PrivateRig(const PrivateRig &) = delete;
    PrivateRig &operator=(const PrivateRig &) = delete;

    bool isUp() const { return !m_server.isEmpty(); }
    // Starts the scheduler again on the same address, every job forgotten.
    bool restartForgettingJobs()
    {
        QProcess restart;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("RIG_CUPSD_EXTRA"), m_extra);
        restart.setProcessEnvironment(environment);
        restart.start(script(), {QStringLiteral("restart"), m_dir.path()});
        return restart.waitForFinished(60000) && restart.exitCode() == 0;
    }
    QString server() const { return m_server; }
    QString folder() const { return m_dir.path(); }
    // SIGSTOP and SIGCONT: a scheduler that stops answering, and comes back.
    void pause()
    {
        signal(QStringLiteral("-STOP"));
        m_paused = true;
    }
    void resume()
    {
        signal(QStringLiteral("-CONT"));
        m_paused = false;
    }
    bool isPaused() const { return m_paused; }

private:
    static QString script() { return qEnvironmentVariable("TAVIMARK_RIG_SCRIPT"); }
    void signal(const QString &which)
    {
        QFile pid(m_dir.filePath(QStringLiteral("cupsd.pid")));
        if (pid.open(QIODevice::ReadOnly))
            QProcess::execute(QStringLiteral("kill"), {which, QString::fromLatin1(pid.readAll().trimmed())});
    }

    QString m_extra;
    QTemporaryDir m_dir;
    QString m_server;
    bool m_paused = false;
};

} // namespace rig
