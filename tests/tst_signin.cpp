// SPDX-License-Identifier: GPL-3.0-or-later
// Pages behind a sign-in, from the command line: the cookies, netrc and
// header files read as users write them (and refused, by line, when they
// are not), and the built program printing from a small site of the test's
// own through the real engine, signed in each way, with none of the secrets
// anywhere in what it writes.
#include "core/signin.h"

#include "support/arguments.h"
#include "support/printrig.h"
#include "support/signinserver.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 Now = 1'800'000'000;

QString writeFile(const QString &path, const QByteArray &bytes, QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    file.close();
    file.setPermissions(permissions);
    return path;
}

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The built program, waited for with the event loop turning, so that the
// test's own site can answer it.
Run runProgram(const QStringList &arguments, const QString &home)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, home);
    environment.insert(u"XDG_DATA_HOME"_s, home + u"/data");
    environment.insert(u"TAVIMARK_RENDERERS"_s, u"1"_s);
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("TAVIMARK_BINARY"), arguments);
    if (!program.waitForStarted())
        return {};
    if (!QTest::qWaitFor([&] { return program.state() == QProcess::NotRunning; }, 120'000)) {
        program.kill();
        program.waitForFinished();
        return {};
    }
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, program.readAllStandardOutput(),
            program.readAllStandardError()};
}

QJsonObject firstEntry(const QByteArray &jsonLines)
{
    return QJsonDocument::fromJson(jsonLines.split('\n').value(0)).object();
}

const QList<QByteArrayView> Secrets{SignInServer::Password, SignInServer::Session, SignInServer::HeaderValue};

} // namespace

class TestSignIn : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cookieFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("cookies");
        QTest::addColumn<QString>("error");  // what the message holds; empty when read

        const QByteArray good = "intranet.example\tFALSE\t/\tFALSE\t0\tsession\tabc\n";
        QTest::newRow("one session cookie") << good << 1 << QString();
        QTest::newRow("comments, blank lines, CRLF") << "# Netscape HTTP Cookie File\n\n" + good.chopped(1) + "\r\n" << 1 << QString();
        QTest::newRow("HttpOnly prefix")
            << QByteArray("#HttpOnly_.example.org\tTRUE\t/app\tTRUE\t2000000000\tid\tx y\n") << 1 << QString();
        QTest::newRow("expired cookie left out") << QByteArray("a.example\tFALSE\t/\tFALSE\t1000\told\tv\n") << 0 << QString();
        QTest::newRow("six fields") << QByteArray("# c\na.example\tFALSE\t/\tFALSE\t0\tname\n") << 0
                                    << u"line 2 of the cookies file"_s;
        QTest::newRow("binary bytes") << good + QByteArray("\x01\x02\xff\tTRUE\t/\tx\n", 12) << 0
                                      << u"line 2 of the cookies file"_s;
        QTest::newRow("flag not TRUE or FALSE") << QByteArray("a.example\tyes\t/\tFALSE\t0\tn\tv\n") << 0
                                                << u"line 1 of the cookies file"_s;
        QTest::newRow("value with a semicolon") << QByteArray("a.example\tFALSE\t/\tFALSE\t0\tn\tv;Domain=evil\n") << 0
                                                << u"line 1 of the cookies file"_s;
        QTest::newRow("line past any cookie") << good + QByteArray(200'000, 'a') << 0 << u"line 2 of the cookies file"_s;
    }

    void cookieFile()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, cookies);
        QFETCH(QString, error);
        QTemporaryDir folder;
        const QString path = writeFile(folder.filePath(u"cookies.txt"_s), text);
        const core::CookieFile read = core::readCookieFile(path, Now);
        QCOMPARE(read.cookies.size(), cookies);
        if (error.isEmpty())
            QCOMPARE(read.error, QString());
        else
            QVERIFY2(read.error.startsWith(error), qPrintable(read.error));
        for (const core::CookieLine &cookie : read.cookies)
            QVERIFY(!read.error.contains(QString::fromLatin1(cookie.value)));
    }

    void cookieFile_httpOnlyAndDomain()
    {
        QTemporaryDir folder;
        const QString path = writeFile(folder.filePath(u"c"_s), "#HttpOnly_.example.org\tTRUE\t/app\tTRUE\t0\tid\tv\n");
        const core::CookieFile read = core::readCookieFile(path, Now);
        QCOMPARE(read.cookies.size(), 1);
        const core::CookieLine &cookie = read.cookies.constFirst();
        QVERIFY(cookie.httpOnly);
        QVERIFY(cookie.secure);
        QVERIFY(cookie.includeSubdomains);
        QCOMPARE(cookie.domain, u"example.org"_s);
        QCOMPARE(cookie.path, u"/app"_s);
    }

    void netrc_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("login");     // empty: nothing for the host
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("error");

        QTest::newRow("one line") << QByteArray("machine intra login ann password s3cret\n") << u"intra"_s << u"ann"_s
                                  << u"s3cret"_s << QString();
        QTest::newRow("spread over lines, other machine first")
            << QByteArray("machine other\n  login bob\n  password x\n\nmachine INTRA\n\tlogin ann\n\tpassword \"a b\\\"c\"\n")
            << u"intra"_s << u"ann"_s << u"a b\"c"_s << QString();
        QTest::newRow("default after machines")
            << QByteArray("machine other login bob password x\ndefault login any password y\n") << u"intra"_s << u"any"_s
            << u"y"_s << QString();
        QTest::newRow("no entry for the host") << QByteArray("machine other login bob password x\n") << u"intra"_s
                                               << QString() << QString() << QString();
        QTest::newRow("macro skipped")
            << QByteArray("macdef init\ncd /pub\nls\n\nmachine intra login ann password p\n") << u"intra"_s << u"ann"_s
            << u"p"_s << QString();
        QTest::newRow("password before a machine") << QByteArray("password p\n") << u"intra"_s << QString() << QString()
                                                   << u"line 1 of the netrc file"_s;
        QTest::newRow("unknown word") << QByteArray("machine intra\nuser ann\n") << u"intra"_s << QString() << QString()
                                      << u"line 2 of the netrc file"_s;
        QTest::newRow("keyword at the end") << QByteArray("machine intra login") << u"intra"_s << QString() << QString()
                                            << u"line 1 of the netrc file"_s;
        QTest::newRow("binary") << QByteArray("machine \0\1\2", 11) << u"intra"_s << QString() << QString()
                                << u"the netrc file"_s;
    }

    void netrc()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, host);
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(QString, error);
        QTemporaryDir folder;
        const core::NetrcFile read = core::readNetrc(writeFile(folder.filePath(u"netrc"_s), text));
        if (!error.isEmpty()) {
            QVERIFY2(read.error.startsWith(error), qPrintable(read.error));
            return;
        }
        QCOMPARE(read.error, QString());
        const std::optional<core::NetrcEntry> entry = core::netrcEntryFor(read.entries, host);
        QCOMPARE(entry.has_value(), !login.isEmpty());
        if (entry) {
            QCOMPARE(entry->login, login);
            QCOMPARE(entry->password, password);
        }
    }

    void netrc_readableByOthers()
    {
        QTemporaryDir folder;
        const QString open = writeFile(folder.filePath(u"open"_s), "machine a login b password c\n",
                                       QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        const QString closed = writeFile(folder.filePath(u"closed"_s), "machine a login b password c\n");
        QVERIFY(core::readNetrc(open).readableByOthers);
        QVERIFY(!core::readNetrc(closed).readableByOthers);
    }

    void header_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("name");  // empty: refused
        QTest::addColumn<QByteArray>("value");

        QTest::newRow("plain") << u"X-Token: abc 1"_s << QByteArray("X-Token") << QByteArray("abc 1");
        QTest::newRow("blanks around") << u"  Authorization :  Bearer x  "_s << QByteArray("Authorization")
                                       << QByteArray("Bearer x");
        QTest::newRow("colon in the value") << u"X-A: b:c"_s << QByteArray("X-A") << QByteArray("b:c");
        QTest::newRow("no colon") << u"X-Token abc"_s << QByteArray() << QByteArray();
        QTest::newRow("empty value") << u"X-Token:"_s << QByteArray() << QByteArray();
        QTest::newRow("line break in the value") << u"X-Token: a\r\nHost: evil"_s << QByteArray() << QByteArray();
        QTest::newRow("space in the name") << u"X Token: zq9"_s << QByteArray() << QByteArray();
        QTest::newRow("Host") << u"host: other"_s << QByteArray() << QByteArray();
        QTest::newRow("Content-Length") << u"Content-Length: 5"_s << QByteArray() << QByteArray();
        QTest::newRow("hop by hop") << u"Connection: close"_s << QByteArray() << QByteArray();
        QTest::newRow("not ASCII") << u"X-Name: Zoë"_s << QByteArray() << QByteArray();
    }

    void header()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, value);
        const core::ParsedHeader parsed = core::parseHeader(text);
        QCOMPARE(parsed.header.has_value(), !name.isEmpty());
        if (parsed.header) {
            QCOMPARE(parsed.header->name, name);
            QCOMPARE(parsed.header->value, value);
            return;
        }
        QVERIFY(!parsed.error.isEmpty());
        // The message names the header, never what it would have carried.
        const QString given = text.mid(text.indexOf(u':') + 1).trimmed();
        QVERIFY2(given.isEmpty() || !parsed.error.contains(given), qPrintable(parsed.error));
    }

    void withoutUserInfo_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("shown");
        QTest::newRow("user and password") << u"https://ann:pw@intra/r?a=b@c"_s << u"https://intra/r?a=b@c"_s;
        QTest::newRow("at sign in the password") << u"http://ann:p@w@intra:8080/"_s << u"http://intra:8080/"_s;
        QTest::newRow("none") << u"https://intra/r@x"_s << u"https://intra/r@x"_s;
        QTest::newRow("local file") << u"/home/ann/a@b.htm"_s << u"/home/ann/a@b.htm"_s;
    }

    void withoutUserInfo()
    {
        QFETCH(QString, address);
        QFETCH(QString, shown);
        QCOMPARE(core::withoutUserInfo(address), shown);
    }

    // The built program signed in each way. Every run keeps a journal and
    // writes JSON, and none of it, nor standard error, holds a secret.
    void printSignedIn_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("options");  // {cookies}, {netrc}, {home-netrc} stand for files the test writes
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("finalPath");  // where the page ended; empty when at its own address

        QTest::newRow("form, no cookie: ends at the form") << u"/report"_s << QStringList() << u"written"_s
                                                            << u"/login?next=/report"_s;
        QTest::newRow("form, cookies file") << u"/report"_s << QStringList{u"--cookies"_s, u"{cookies}"_s} << u"written"_s
                                            << QString();
        QTest::newRow("Basic, nothing to answer") << u"/basic"_s << QStringList() << u"not printed"_s << QString();
        QTest::newRow("Basic, --netrc-file") << u"/basic"_s << QStringList{u"--netrc-file"_s, u"{netrc}"_s}
                                             << u"written"_s << QString();
        QTest::newRow("Basic, ~/.netrc") << u"/basic"_s << QStringList{u"{home-netrc}"_s} << u"written"_s << QString();
        QTest::newRow("Basic, netrc for another machine")
            << u"/basic"_s << QStringList{u"--netrc-file"_s, u"{other-netrc}"_s} << u"not printed"_s << QString();
        QTest::newRow("Digest, --netrc-file") << u"/digest"_s << QStringList{u"--netrc-file"_s, u"{netrc}"_s}
                                              << u"written"_s << QString();
        QTest::newRow("Basic, user and password in the address") << u"{userinfo}/basic"_s << QStringList() << QString()
                                                                 << QString();
        QTest::newRow("header page, no header") << u"/header"_s << QStringList() << u"not printed"_s << QString();
        QTest::newRow("header page, --header")
            << u"/header"_s
            << QStringList{u"--header"_s, QString::fromLatin1(SignInServer::HeaderName) + u": "_s
                                              + QString::fromLatin1(SignInServer::HeaderValue)}
            << u"written"_s << QString();
    }

    void printSignedIn()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, options);
        QFETCH(QString, outcome);
        QFETCH(QString, finalPath);
        SignInServer site;
        SignInServer elsewhere(QHostAddress(u"127.0.0.2"_s));
        QVERIFY(site.listening());
        QVERIFY(elsewhere.listening());
        site.setElsewhere(elsewhere.base());
        QTemporaryDir home;
        const QString host = QUrl(site.base()).host();
        const QByteArray machine = "machine " + host.toUtf8() + " login " + SignInServer::User.toByteArray()
            + " password " + SignInServer::Password.toByteArray() + '\n';
        for (QString &option : options) {
            if (option == u"{cookies}")
                option = writeFile(home.filePath(u"cookies.txt"_s), host.toUtf8() + "\tFALSE\t/\tFALSE\t0\tsession\t"
                                                                         + SignInServer::Session.toByteArray() + '\n');
            else if (option == u"{netrc}")
                option = writeFile(home.filePath(u"netrc"_s), machine);
            else if (option == u"{other-netrc}")
                option = writeFile(home.filePath(u"netrc"_s), "machine elsewhere.example login a password b\n");
        }
        if (options.removeAll(u"{home-netrc}"_s) > 0)
            QVERIFY(!writeFile(home.filePath(u".netrc"_s), machine).isEmpty());
        const QString journal = home.filePath(u"run.journal"_s);
        QString address = site.url(page);
        if (page.startsWith(u"{userinfo}"))
            address = u"http://"_s + QString::fromLatin1(SignInServer::User) + u':' + QString::fromLatin1(SignInServer::Password)
                + u'@' + site.url(page.mid(10)).mid(7);
        const Run run = runProgram(QStringList{u"--print"_s, u"--json"_s, u"--journal"_s, journal, u"--output"_s,
                                               home.path()} + options + QStringList{address},
                                   home.path());
        QVERIFY2(run.status >= 0, run.err.constData());
        const QJsonObject entry = firstEntry(run.out);
        if (!outcome.isEmpty())
            QCOMPARE(entry.value(u"outcome"_s).toString(), outcome);
        if (finalPath.isEmpty())
            QVERIFY2(entry.value(u"final_url"_s).isNull(), run.out.constData());
        else
            QCOMPARE(entry.value(u"final_url"_s).toString(), site.url(finalPath));
        QFile journalFile(journal);
        QVERIFY(journalFile.open(QIODevice::ReadOnly));
        const QByteArray record = journalFile.readAll();
        for (const QByteArrayView secret : Secrets) {
            QVERIFY2(!run.err.contains(secret), run.err.constData());
            QVERIFY2(!run.out.contains(secret), run.out.constData());
            QVERIFY2(!record.contains(secret), record.constData());
        }
        // The page printed is the one signed in to, and its headings name it
        // without a user name or password.
        const QStringList pdfs = QDir(home.path()).entryList({u"*.pdf"_s}, QDir::Files);
        for (const QString &pdf : pdfs) {
            const QString text = rig::pdfText(home.filePath(pdf));
            if (finalPath.isEmpty() && outcome == u"written")
                QVERIFY2(text.contains(u"Quarterly report"_s), qPrintable(text));
            QVERIFY2(text.contains(site.base()), qPrintable(text));
            for (const QByteArrayView secret : Secrets)
                QVERIFY2(!text.contains(QString::fromLatin1(secret)), qPrintable(text));
        }
        // The picture the header page shows comes from another host, which
        // never sees the header.
        QVERIFY(!elsewhere.sawHeader(SignInServer::HeaderName));
        if (page == u"/header" && outcome == u"written")
            QCOMPARE(elsewhere.count("/pixel"), 1);
    }

    // A sign-in made once, by a script, serves later runs through the
    // profile folder it was kept in.
    void profileKeepsTheSignIn()
    {
        SignInServer site;
        QVERIFY(site.listening());
        QTemporaryDir home;
        const QString profile = home.filePath(u"profile"_s);
        const QString cookies = writeFile(home.filePath(u"cookies.txt"_s), QUrl(site.base()).host().toUtf8()
                                                                               + "\tFALSE\t/\tFALSE\t0\tsession\t"
                                                                               + SignInServer::Session.toByteArray() + '\n');
        const QStringList common{u"--print"_s, u"--json"_s, u"--output"_s, home.path(), u"--profile"_s, profile};
        const Run first = runProgram(common + QStringList{u"--cookies"_s, cookies, site.url(u"/report"_s)}, home.path());
        QCOMPARE(first.status, 0);
        QCOMPARE(QFileInfo(profile).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther), QFile::Permissions());
        const Run later = runProgram(common + QStringList{site.url(u"/report"_s)}, home.path());
        QCOMPARE(later.status, 0);
        QVERIFY2(firstEntry(later.out).value(u"final_url"_s).isNull(), later.out.constData());
        // Without the profile, the same run gets the form.
        const Run without = runProgram(QStringList{u"--print"_s, u"--json"_s, u"--output"_s, home.path(), site.url(u"/report"_s)},
                                       home.path());
        QCOMPARE(firstEntry(without.out).value(u"final_url"_s).toString(), site.url(u"/login?next=/report"_s));
        QVERIFY(!later.err.contains(SignInServer::Session));
    }

    // Files that cannot be used stop the run before anything loads, named
    // with the line, and never with what they hold.
    void unusableFilesStopTheRun_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("message");
        QTest::newRow("cookies, bad line") << u"--cookies"_s << QByteArray("# x\nfoo\tbar\n") << u"line 2 of the cookies file"_s;
        QTest::newRow("cookies, binary") << u"--cookies"_s << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0", 10)
                                         << u"line 1 of the cookies file"_s;
        QTest::newRow("netrc, missing value") << u"--netrc-file"_s << QByteArray("machine a login b password") << u"line 1 of the netrc file"_s;
        QTest::newRow("netrc, missing file") << u"--netrc-file"_s << QByteArray() << u"cannot be read"_s;
    }

    void unusableFilesStopTheRun()
    {
        QFETCH(QString, option);
        QFETCH(QByteArray, contents);
        QFETCH(QString, message);
        SignInServer site;
        QTemporaryDir home;
        const QString path = home.filePath(u"file"_s);
        if (!contents.isEmpty())
            writeFile(path, contents);
        const Run run = runProgram({u"--print"_s, u"--output"_s, home.path(), option, path, site.url(u"/report"_s)}, home.path());
        QCOMPARE(run.status, 64);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QCOMPARE(site.requests().size(), 0);
    }

    void headerRefusedOnTheCommandLine()
    {
        const app::CommandLine line = parseArguments({u"--print"_s, u"--header"_s, u"Host: evil"_s, u"a.htm"_s});
        QVERIFY(line.error.contains(u"Host"_s));
        const app::CommandLine window = parseArguments({u"--header"_s, u"X-A: b"_s});
        QVERIFY(window.error.contains(u"--print"_s));
        const app::CommandLine two = parseArguments({u"--print"_s, u"--header"_s, u"X-A: b"_s, u"--header"_s, u"X-B: c"_s});
        QCOMPARE(two.error, QString());
        QCOMPARE(two.headers.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSignIn)
#include "tst_signin.moc"
