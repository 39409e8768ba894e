// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's command line read as main() reads it, from a test's list of
// arguments; and the built program run as a script runs it.

#include "app/commandline/commandline.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <vector>

inline app::CommandLine parseArguments(const QStringList &arguments)
{
    std::vector<QByteArray> bytes{QByteArrayLiteral("tavimark")};
    for (const QString &argument : arguments)
        bytes.push_back(argument.toUtf8());
    std::vector<const char *> argv;
    for (const QByteArray &argument : bytes)
        argv.push_back(argument.constData());
    return app::parseCommandLine(int(argv.size()), argv.data());
}

// What a run of the built program (TAVIMARK_BINARY) came to; status -1 when
// it did not end by itself in time.
struct ProgramRun {
    int status = -1;
    QByteArray out;
    QStringList errorLines;
};

inline ProgramRun runTavimark(const QStringList &arguments, const QProcessEnvironment &environment, int waitMs)
{
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("TAVIMARK_BINARY"), arguments);
    if (!program.waitForFinished(waitMs) || program.exitStatus() != QProcess::NormalExit)
        return {};
    return {program.exitCode(), program.readAllStandardOutput(),
            QString::fromUtf8(program.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts)};
}
