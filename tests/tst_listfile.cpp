// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/listfile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>

using sources::ExtractWords;
using sources::LoadTextFile;
using sources::ReadWholeFile;
using sources::RemoveSpace;

namespace {

// Every ASCII character, by the part it plays in an address: URLs are made
// of letters, digits and the unreserved and reserved signs, with "%" for
// escapes, and paths add the backslash; everything else cuts addresses apart.
struct AsciiGroup {
    const char *name;
    QString characters;
    bool kept;
};

QList<AsciiGroup> asciiGroups()
{
    QString controls;
    for (char16_t c = 0; c < 0x20; ++c)
        controls += QChar(c);
    controls += QChar(0x7F);
    return {
        {"letters", QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), true},
        {"digits", QStringLiteral("0123456789"), true},
        {"URL unreserved signs", QStringLiteral("-._~"), true},
        {"URL general delimiters", QStringLiteral(":/?#[]@"), true},
        {"URL sub-delimiters", QStringLiteral("!$&'()*+,;="), true},
        {"escape sign and path separator", QStringLiteral("%\\"), true},
        {"space and signs no address holds", QStringLiteral(" \"<>^`{|}"), false},
        {"control characters", controls, false},
    };
}

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const auto low = char(c.unicode() & 0xFF);
        const auto high = char(c.unicode() >> 8);
        bytes.append(littleEndian ? low : high);
        bytes.append(littleEndian ? high : low);
    }
    return bytes;
}

bool isTokenBreak(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

} // namespace

class TestListFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extractWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("space, CR LF, tab, lone CR")
            << QStringLiteral("one two\r\nthree\tfour\rfive")
            << QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("four"), QStringLiteral("five")};
        QTest::newRow("runs of separators and blank lines")
            << QStringLiteral("  \t a \r\n\r\n\r\n\t\t b  \r\r c\t \r\n")
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("lone LF stays in its token")
            << QStringLiteral("a\nb c") << QStringList{QStringLiteral("a\nb"), QStringLiteral("c")};
        QTest::newRow("LF after CR LF starts a token")
            << QStringLiteral("a\r\n\nb") << QStringList{QStringLiteral("a"), QStringLiteral("\nb")};
        QTest::newRow("duplicates stay") << QStringLiteral("x x\r\nx") << QStringList{QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x")};
        QTest::newRow("empty") << QString() << QStringList{};
        QTest::newRow("separators only") << QStringLiteral(" \t\r\n\r ") << QStringList{};
    }
    void extractWords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(ExtractWords(text), expected);
    }

    void removeSpace_ascii_data()
    {
        QTest::addColumn<QString>("characters");
        QTest::addColumn<bool>("kept");
        for (const AsciiGroup &group : asciiGroups())
            QTest::newRow(group.name) << group.characters << group.kept;
    }
    void removeSpace_ascii()
    {
        QFETCH(QString, characters);
        QFETCH(bool, kept);
        QString text = characters;
        QString &returned = RemoveSpace(text);
        QCOMPARE(&returned, &text);
        QCOMPARE(text, kept ? characters : QString(characters.size(), u' '));
    }
    void removeSpace_asciiGroupsNameEveryCharacterOnce()
    {
        QString named;
        for (const AsciiGroup &group : asciiGroups())
            named += group.characters;
        QCOMPARE(named.size(), 128);
        for (char16_t c = 0; c < 128; ++c)
            QVERIFY2(named.count(QChar(c)) == 1, qPrintable(QString::number(c)));
    }

    void removeSpace_beyondAscii_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("letters of other scripts stay")
            << QStringLiteral("http://bücher.example/日本/κ") << QStringLiteral("http://bücher.example/日本/κ");
        QTest::newRow("no-break space and emoji stay") << QStringLiteral("a\u00A0b\U0001F600") << QStringLiteral("a\u00A0b\U0001F600");
        QTest::newRow("C1 controls become spaces") << QStringLiteral("a\u0085b\u009Fc") << QStringLiteral("a b c");
        QTest::newRow("byte-order mark becomes a space") << QStringLiteral("a\r\n\uFEFFb") << QStringLiteral("a   b");
    }
    void removeSpace_beyondAscii()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(RemoveSpace(text), expected);
    }

    void loadTextFile_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        const QString a = QStringLiteral("https://example.com/a?x=1&y=%20#top");
        const QString b = QStringLiteral("http://[::1]:8080/b;p=(c)*+,!$'@~");
        QTest::newRow("five-token example") << QStringLiteral("one two\r\nthree\tfour\rfive")
            << QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("four"), QStringLiteral("five")};
        QTest::newRow("Unix line ends") << (a + u'\n' + b + u'\n') << QStringList{a, b};
        QTest::newRow("addresses keep their punctuation") << (a + u' ' + b) << QStringList{a, b};
        QTest::newRow("Windows paths") << QStringLiteral("C:\\web\\a.htm\r\n\\\\server\\share\\b.htm")
            << QStringList{QStringLiteral("C:\\web\\a.htm"), QStringLiteral("\\\\server\\share\\b.htm")};
        QTest::newRow("double quotes are dropped") << (u'"' + a + u"\"\r\n\"" + b + u'"') << QStringList{a, b};
        // The comma is a URL character, so one between quoted addresses
        // stands as a token of its own.
        QTest::newRow("comma between quoted addresses")
            << (u'"' + a + u"\",\"" + b + u'"') << QStringList{a, QStringLiteral(","), b};
        QTest::newRow("single quotes are kept") << (u'\'' + a + u'\'') << QStringList{u'\'' + a + u'\''};
        QTest::newRow("angle brackets are dropped") << (u'<' + a + u"><" + b + u'>') << QStringList{a, b};
        // A line is one address, whatever signs it holds that an address
        // cannot hold as they are: the engine escapes them when it loads
        // it. Cut at them, the line would print some other page.
        QTest::newRow("braces, bars, carets and backticks stay in their line")
            << QStringLiteral("a{b}c|d^e`f") << QStringList{QStringLiteral("a{b}c|d^e`f")};
        QTest::newRow("a quote inside a line") << QStringLiteral("http://host/good/\"q\\b\r\nnext")
                                               << QStringList{QStringLiteral("http://host/good/\"q\\b"), QStringLiteral("next")};
        QTest::newRow("a quoted line with a quote inside")
            << QStringLiteral("\"http://host/good/\"q\\b\"") << QStringList{QStringLiteral("http://host/good/\"q\\b")};
        QTest::newRow("a closing quote alone stays") << QStringLiteral("http://a/x\"") << QStringList{QStringLiteral("http://a/x\"")};
        QTest::newRow("markup in a data address")
            << QStringLiteral("data:text/html,<h1>x</h1>") << QStringList{QStringLiteral("data:text/html,<h1>x</h1>")};
        QTest::newRow("an opening bracket left open")
            << QStringLiteral("<http://a/x\t<b>") << QStringList{QStringLiteral("<http://a/x"), QStringLiteral("b")};
        QTest::newRow("a local name with signs") << QStringLiteral("/docs/a\"b<c>|.htm") << QStringList{QStringLiteral("/docs/a\"b<c>|.htm")};
        QTest::newRow("other controls split") << QStringLiteral("a\u000Bb\u000Cc\u0000d\u007Fe")
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")};
        QTest::newRow("blank lines only") << QStringLiteral("\r\n\n \t\r") << QStringList{};
    }
    void loadTextFile()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        int yields = 0;
        const QStringList tokens = LoadTextFile(text, [&yields] { ++yields; return true; });
        QCOMPARE(tokens, expected);
        // The window gets a turn for every token, while they are cut.
        QVERIFY(yields >= expected.size());
        QCOMPARE(LoadTextFile(text), expected);
    }

    // A close at any yield ends the cut there: no further yield, and only
    // tokens from the start of the text come back, fewer than all.
    void loadTextFile_stopsWhereTheProgramCloses()
    {
        const QString text = QStringLiteral("a b\r\nc\td e");
        const QStringList all = LoadTextFile(text);
        int allYields = 0;
        LoadTextFile(text, [&allYields] { ++allYields; return true; });
        for (int stopAt = 1; stopAt <= allYields; ++stopAt) {
            int yields = 0;
            const QStringList tokens = LoadTextFile(text, [&] { return ++yields < stopAt; });
            QCOMPARE(yields, stopAt);
            QVERIFY(tokens.size() < all.size());
            QCOMPARE(tokens, all.first(tokens.size()));
        }
    }

    // Random texts over an alphabet heavy in separators and in characters
    // that sit at the edges of the keep set.
    void loadTextFile_propertiesOverRandomTexts()
    {
        const QString alphabet = QStringLiteral(" \t\r\n\r\n  ab9Z:/.%\\\"<>{|}\u0001\u007F\u0085\uFEFFé日");
        QRandomGenerator random(20260614);
        for (int round = 0; round < 2000; ++round) {
            QString text;
            const int length = random.bounded(0, 80);
            for (int i = 0; i < length; ++i)
                text += alphabet.at(random.bounded(int(alphabet.size())));
            QString cleaned = text;
            RemoveSpace(cleaned);
            const QStringList tokens = LoadTextFile(text);
            const QByteArray shown = text.toUtf8().toPercentEncoding();
            // Without the signs no address holds, the one pass gives what
            // the two steps give one after the other.
            if (!text.contains(QRegularExpression(QStringLiteral("[\"<>{|}^`]"))))
                QVERIFY2(tokens == ExtractWords(cleaned), shown.constData());

            // Every token is a part of the text, in order; only separators
            // and the signs stand between one token and the next.
            qsizetype from = 0;
            for (const QString &token : tokens) {
                QVERIFY2(!token.isEmpty(), shown.constData());
                for (const QChar c : token)
                    QVERIFY2(!isTokenBreak(c) && c != u'\n', shown.constData());
                const qsizetype at = text.indexOf(token, from);
                QVERIFY2(at >= 0, shown.constData());
                for (qsizetype i = from; i < at; ++i)
                    QVERIFY2(isTokenBreak(cleaned.at(i)), shown.constData());
                from = at + token.size();
            }
            for (qsizetype i = from; i < cleaned.size(); ++i)
                QVERIFY2(isTokenBreak(cleaned.at(i)), shown.constData());
        }
    }

    void readWholeFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QString text = QStringLiteral("http://café.example/é\r\nhttps://b.example/€\t‘x’");
        QTest::newRow("UTF-8 without mark") << text.toUtf8() << text;
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << text;
        QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE") + utf16(text, true) << text;
        QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF") + utf16(text, false) << text;
        QTest::newRow("UTF-32 LE")
            << QByteArray("\xFF\xFE\0\0", 4) + QByteArray("h\0\0\0\xE9\0\0\0", 8) << QStringLiteral("hé");
        QTest::newRow("UTF-32 BE")
            << QByteArray("\0\0\xFE\xFF", 4) + QByteArray("\0\0\0h\0\0\0\xE9", 8) << QStringLiteral("hé");
        QTest::newRow("UTF-16 mark alone") << QByteArray("\xFF\xFE") << QString();
        QTest::newRow("UTF-8, a second mark is content")
            << QByteArray("\xEF\xBB\xBF" "a" "\xEF\xBB\xBF" "b") << QStringLiteral("a\uFEFFb");
        QTest::newRow("UTF-16 LE, a second mark is content")
            << QByteArray("\xFF\xFE" "a\0" "\xFF\xFE" "b\0", 8) << QStringLiteral("a\uFEFFb");
        QTest::newRow("Windows-1252")
            << QByteArray("http://caf\xE9.example/\xE9\r\nhttps://b.example/\x80\t\x91x\x92")
            << text;
        QTest::newRow("Windows-1252 undefined code") << QByteArray("a\x81" "b") << QStringLiteral("a\u0081b");
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("mark alone") << QByteArray("\xEF\xBB\xBF") << QString();
    }
    void readWholeFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("list.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        const sources::ListFileText read = ReadWholeFile(path);
        QVERIFY2(read.isRead(), qPrintable(read.failure));
        QCOMPARE(read.text, expected);
        QVERIFY(!read.text.startsWith(QChar(0xFEFF)));
    }

    void readWholeFile_refuses_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("failure");
        QTest::newRow("missing") << QStringLiteral("missing.txt") << QStringLiteral("not found");
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("not a file");
        QTest::newRow("binary") << QStringLiteral("binary.bin") << QStringLiteral("not a text file");
        QTest::newRow("UTF-8 mark, then NUL") << QStringLiteral("nul.txt") << QStringLiteral("not a text file");
    }
    void readWholeFile_refuses()
    {
        QFETCH(QString, name);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QFile binary(dir.filePath(QStringLiteral("binary.bin")));
        QVERIFY(binary.open(QIODevice::WriteOnly));
        binary.write(QByteArray("\x7F" "ELF\x02\x01\x01") + QByteArray(3, '\0') + "http://a.example/" + QByteArray(1, '\0'));
        binary.close();
        QFile nul(dir.filePath(QStringLiteral("nul.txt")));
        QVERIFY(nul.open(QIODevice::WriteOnly));
        nul.write(QByteArray("\xEF\xBB\xBF" "a\0b", 6));
        nul.close();

        const sources::ListFileText read = ReadWholeFile(dir.filePath(name));
        QVERIFY(!read.isRead());
        QCOMPARE(read.failure, failure);
        QVERIFY(read.text.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestListFile)
#include "tst_listfile.moc"
