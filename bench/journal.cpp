// SPDX-License-Identifier: GPL-3.0-or-later
// The journal's cost on a long run: COUNT small documents (10,000 unless
// the first argument says otherwise) printed by the real program from the
// command line, `tavimark --print --folder DIR`, without and with
// `--journal FILE`, each timed from its start to its exit; ROUNDS (the
// second argument, 1 unless given) such pairs, averaged. Each run prints on
// a rig started for it alone, so that none meets the job history another
// left behind (the rig keeps every job it has printed).
//
//   bench_journal [COUNT [ROUNDS]]
//
// Starts its own rigs with tests/rig/rig.sh; needs nothing running.
// 10,000 documents take several minutes per run.
#include "common.h"
#include "support/printrig.h"

#include <QProcess>
#include <QTemporaryDir>

#include <optional>

namespace {

QByteArray smallDocument(int n)
{
    const QByteArray number = QByteArray::number(n);
    return "<!doctype html><html><head><meta charset=\"utf-8\"><title>Entry " + number
        + "</title></head><body><h1>Entry " + number + "</h1><p>A short page, one of many in a long run.</p></body></html>";
}

// `count` documents in `folder`, numbered with leading zeros so that the
// folder's walk takes them in the order they were written.
bool writeDocuments(const QString &folder, int count)
{
    for (int i = 1; i <= count; ++i) {
        QFile file(folder + u"/entry" + QString::number(i).rightJustified(5, u'0') + u".htm");
        if (!file.open(QIODevice::WriteOnly) || file.write(smallDocument(i)) < 0)
            return false;
    }
    return true;
}

struct Timed {
    double seconds = 0;
    int status = -1;
    QString lastLine;
};

// The program from start to exit, on a rig of its own.
std::optional<Timed> printOnFreshRig(const QStringList &arguments)
{
    const rig::PrivateRig printer;
    if (!printer.isUp())
        return std::nullopt;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), printer.server());
    program.setProcessEnvironment(environment);
    program.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(TAVIMARK_BINARY), arguments);
    if (!program.waitForFinished(-1))
        return std::nullopt;
    Timed timed;
    timed.seconds = clock.nsecsElapsed() / 1e9;
    timed.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    const QStringList lines = QString::fromUtf8(program.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    timed.lastLine = lines.value(lines.size() - 1);
    return timed;
}

qsizetype linesIn(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10'000;
    const int rounds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1;
    if (count < 1 || rounds < 1) {
        std::fprintf(stderr, "usage: bench_journal [COUNT [ROUNDS]]   (documents per run, default 10000; pairs of runs, default 1)\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("TAVIMARK_RIG_SCRIPT"))
        qputenv("TAVIMARK_RIG_SCRIPT", QByteArrayLiteral(TAVIMARK_RIG_SCRIPT));
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("documents"));
    if (!QDir().mkpath(folder) || !writeDocuments(folder, count)) {
        std::fprintf(stderr, "bench_journal: cannot write the documents in %s\n", qPrintable(folder));
        return 2;
    }
    const QStringList common{QStringLiteral("--print"), QStringLiteral("-d"), QStringLiteral("Rig"), QStringLiteral("--folder"), folder};
    const QString journal = dir.filePath(QStringLiteral("run.journal"));

    // The program's files and the documents come from the disk cache in
    // both measured runs.
    QTemporaryDir warmFolder;
    writeDocuments(warmFolder.path(), 4);
    printOnFreshRig({QStringLiteral("--print"), QStringLiteral("-d"), QStringLiteral("Rig"), QStringLiteral("--folder"), warmFolder.path()});

    double without = 0;
    double with = 0;
    for (int round = 1; round <= rounds; ++round) {
        // The journal starts afresh each round: a journal of a finished run
        // would leave everything out.
        QFile::remove(journal);
        const std::optional<Timed> plain = printOnFreshRig(common);
        const std::optional<Timed> journalled = printOnFreshRig(common + QStringList{QStringLiteral("--journal"), journal});
        if (!plain || !journalled) {
            std::fprintf(stderr, "bench_journal: no rig could be started, or the program did not end\n");
            return 2;
        }
        for (const Timed &run : {*plain, *journalled}) {
            if (run.status != 0)
                std::printf("# exit status %d: %s\n", run.status, qPrintable(run.lastLine));
        }
        without += plain->seconds / rounds;
        with += journalled->seconds / rounds;
    }
    bench::figure("journal_bench_entries", count, "entries");
    bench::figure("journal_bench_rounds", rounds, "rounds");
    bench::figure("run_without_journal_s", without, "s");
    bench::figure("run_with_journal_s", with, "s");
    bench::figure("docs_per_s_without_journal", count / without, "docs/s");
    bench::figure("docs_per_s_with_journal", count / with, "docs/s");
    bench::figure("journal_overhead", (with - without) / without * 100, "%");
    // The last round's: a header, then a record as each job goes out and
    // one as it settles.
    bench::figure("journal_lines", double(linesIn(journal)), "lines");
    return 0;
}
