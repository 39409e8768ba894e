#pragma once

// The program's command line read as main() reads it, from a test's list of
// arguments.

#include "app/commandline/commandline.h"

#include <QByteArray>
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
