// SPDX-License-Identifier: GPL-3.0-or-later
// The printer settings dialog's two mappings, without showing the dialog:
// the program's settings onto the QPrinter it edits, and back again, keeping
// only what differs from the queue's own defaults. Then the parts of Qt's
// own dialog that Qt keeps to itself, each by name, and the dialog shown
// without one of them. The queues are the print test rig's.
#include "platform/desktop/printerdialog.h"
#include "support/printrig.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using platform::PrinterChoice;
using platform::PrinterDefaults;
using core::PrinterSettings;

Q_DECLARE_METATYPE(platform::PrinterDefaults)
Q_DECLARE_METATYPE(platform::PrinterChoice)
Q_DECLARE_METATYPE(platform::QtDialogParts)

namespace {

// A printer that writes a file accepts every mode; a queue would refuse
// those it lacks.
std::unique_ptr<QPrinter> pdfPrinter()
{
    auto printer = std::make_unique<QPrinter>();
    printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

// A queue with a driver that offers every mode and these papers.
PrinterDefaults offeringAll(QPrinter::DuplexMode duplex, QPageSize::PageSizeId paper, QPrinter::ColorMode colour)
{
    const QList<QPageSize> papers{QPageSize(QPageSize::A3), QPageSize(QPageSize::A4), QPageSize(QPageSize::A5),
                                  QPageSize(QPageSize::Letter), QPageSize(QPageSize::Legal),
                                  QPageSize(QSizeF(100, 150), QPageSize::Millimeter)};
    return {duplex,
            QPageSize(paper),
            colour,
            {QPrinter::DuplexNone, QPrinter::DuplexLongSide, QPrinter::DuplexShortSide},
            papers,
            {QPrinter::GrayScale, QPrinter::Color}};
}

PrinterDefaults a4Simplex() { return offeringAll(QPrinter::DuplexNone, QPageSize::A4, QPrinter::GrayScale); }

// A dialog left as the queue starts it.
PrinterChoice choice(const PrinterDefaults &defaults)
{
    PrinterChoice choice;
    choice.duplex = defaults.duplex;
    choice.pageSize = defaults.pageSize;
    choice.colorMode = defaults.colorMode;
    return choice;
}

template<typename Value>
PrinterChoice with(PrinterChoice choice, Value PrinterChoice::*member, const Value &value)
{
    choice.*member = value;
    return choice;
}

QPageRanges pages(std::initializer_list<QPageRanges::Range> ranges)
{
    QPageRanges all;
    for (const QPageRanges::Range &range : ranges)
        all.addRange(range.from, range.to);
    return all;
}

QStringList optionTexts(const PrinterSettings &settings)
{
    QStringList texts;
    for (const core::JobOption &option : settings.options)
        texts << option.name + u'=' + option.value;
    return texts;
}

// The widgets of Qt's dialog that the editor reaches by name, with the
// class each must be of.
const QList<std::pair<QString, const char *>> &privateWidgets()
{
    static const QList<std::pair<QString, const char *>> widgets{
        {u"printers"_s, "QComboBox"},         {u"pageSetCombo"_s, "QComboBox"}, {u"pageSetLabel"_s, "QWidget"},
        {u"reverse"_s, "QWidget"},            {u"collate"_s, "QWidget"},        {u"printCurrentPage"_s, "QWidget"},
        {u"printSelection"_s, "QWidget"},     {u"pagesRadioButton"_s, "QWidget"}, {u"pagesLineEdit"_s, "QWidget"}};
    return widgets;
}

// Closes the editor's dialog with OK as soon as it is open, as a user who
// changes nothing would.
std::optional<PrinterSettings> editAndAccept(core::PrinterSettingsEditor &editor, const PrinterSettings &current)
{
    QWidget owner;
    bool accepted = false;
    QTimer::singleShot(0, &owner, [&] {
        if (auto *dialog = owner.findChild<QPrintDialog *>()) {
            dialog->accept();
            accepted = true;
        }
    });
    const std::optional<PrinterSettings> edited = editor.edit(&owner, current);
    if (!accepted)
        qWarning("the editor opened no print dialog");
    return edited;
}

} // namespace

class TestPrinterDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void settingsFrom_storesOnlyDifferences_data()
    {
        QTest::addColumn<PrinterDefaults>("defaults");
        QTest::addColumn<PrinterChoice>("choice");
        QTest::addColumn<QStringList>("options");

        const PrinterDefaults simplex = a4Simplex();
        const PrinterDefaults duplexColour = offeringAll(QPrinter::DuplexLongSide, QPageSize::Letter, QPrinter::Color);
        // As the print system describes a queue without a driver.
        const PrinterDefaults raw{QPrinter::DuplexNone, QPageSize(), QPrinter::GrayScale, {QPrinter::DuplexNone}, {},
                                  {QPrinter::GrayScale}};
        const PrinterChoice asSimplex = choice(simplex);
        const PrinterChoice asDuplexColour = choice(duplexColour);
        QTest::newRow("all as the queue has it") << simplex << asSimplex << QStringList();
        QTest::newRow("all as a two-sided colour queue has it") << duplexColour << asDuplexColour << QStringList();
        QTest::newRow("automatic two-sided is the long edge")
            << duplexColour << with(asDuplexColour, &PrinterChoice::duplex, QPrinter::DuplexAuto) << QStringList();
        QTest::newRow("two-sided on a one-sided default")
            << simplex << with(asSimplex, &PrinterChoice::duplex, QPrinter::DuplexLongSide)
            << QStringList{u"sides=two-sided-long-edge"_s};
        QTest::newRow("short edge") << simplex << with(asSimplex, &PrinterChoice::duplex, QPrinter::DuplexShortSide)
                                    << QStringList{u"sides=two-sided-short-edge"_s};
        QTest::newRow("one-sided on a two-sided default")
            << duplexColour << with(asDuplexColour, &PrinterChoice::duplex, QPrinter::DuplexNone)
            << QStringList{u"sides=one-sided"_s};
        QTest::newRow("other paper") << simplex << with(asSimplex, &PrinterChoice::pageSize, QPageSize(QPageSize::Letter))
                                     << QStringList{u"media=Letter"_s};
        QTest::newRow("the default paper under another name")
            << simplex << with(asSimplex, &PrinterChoice::pageSize, QPageSize(QSizeF(210, 297), QPageSize::Millimeter))
            << QStringList();
        QTest::newRow("paper of no name")
            << simplex << with(asSimplex, &PrinterChoice::pageSize, QPageSize(QSizeF(100, 150), QPageSize::Millimeter))
            << QStringList{u"media=custom_100x150mm_100x150mm"_s};
        QTest::newRow("landscape") << simplex << with(asSimplex, &PrinterChoice::orientation, QPageLayout::Landscape)
                                   << QStringList{u"orientation-requested=4"_s};
        QTest::newRow("colour on a monochrome default")
            << simplex << with(asSimplex, &PrinterChoice::colorMode, QPrinter::Color)
            << QStringList{u"print-color-mode=color"_s};
        QTest::newRow("monochrome on a colour default")
            << duplexColour << with(asDuplexColour, &PrinterChoice::colorMode, QPrinter::GrayScale)
            << QStringList{u"print-color-mode=monochrome"_s};
        QTest::newRow("page range") << simplex << with(asSimplex, &PrinterChoice::pages, pages({{2, 5}}))
                                    << QStringList{u"page-ranges=2-5"_s};
        QTest::newRow("page ranges") << simplex << with(asSimplex, &PrinterChoice::pages, pages({{1, 3}, {7, 7}}))
                                     << QStringList{u"page-ranges=1-3,7-7"_s};
        PrinterChoice asTheDialogShowsRaw = choice(raw);
        asTheDialogShowsRaw.pageSize = QPageSize(QPageSize::A4);
        asTheDialogShowsRaw.colorMode = QPrinter::Color;
        QTest::newRow("what a queue without a driver does not offer") << raw << asTheDialogShowsRaw << QStringList();
        QTest::newRow("two-sided on a queue without a driver")
            << raw << with(asTheDialogShowsRaw, &PrinterChoice::duplex, QPrinter::DuplexLongSide) << QStringList();
        QTest::newRow("orientation and pages on a queue without a driver")
            << raw
            << with(with(asTheDialogShowsRaw, &PrinterChoice::orientation, QPageLayout::Landscape),
                    &PrinterChoice::pages, pages({{2, 3}}))
            << QStringList{u"orientation-requested=4"_s, u"page-ranges=2-3"_s};
        PrinterChoice everything = asSimplex;
        everything.duplex = QPrinter::DuplexShortSide;
        everything.pageSize = QPageSize(QPageSize::A3);
        everything.orientation = QPageLayout::Landscape;
        everything.colorMode = QPrinter::Color;
        everything.pages = pages({{3, 3}});
        QTest::newRow("everything differs")
            << simplex << everything
            << QStringList{u"sides=two-sided-short-edge"_s, u"media=A3"_s, u"orientation-requested=4"_s,
                           u"print-color-mode=color"_s, u"page-ranges=3-3"_s};
    }
    void settingsFrom_storesOnlyDifferences()
    {
        QFETCH(PrinterDefaults, defaults);
        QFETCH(PrinterChoice, choice);
        QFETCH(QStringList, options);
        choice.printer = QStringLiteral("Office_Laser");
        choice.copies = 4;
        const PrinterSettings settings = platform::settingsFrom(choice, defaults);
        QCOMPARE(optionTexts(settings), options);
        QCOMPARE(settings.printer, QStringLiteral("Office_Laser"));
        QCOMPARE(settings.copies, 4);
    }

    // What the dialog starts at comes back unchanged when the user changes
    // nothing. (A printer that writes a file keeps no sides; the rig's queue
    // below has one side only.)
    void applyThenRead_givesTheSettingsBack_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("copies");
        QTest::newRow("nothing") << QStringList() << 1;
        QTest::newRow("copies") << QStringList() << 3;
        QTest::newRow("paper and orientation") << QStringList{u"media=A5"_s, u"orientation-requested=4"_s} << 1;
        QTest::newRow("monochrome") << QStringList{u"print-color-mode=monochrome"_s} << 1;
        QTest::newRow("one page range") << QStringList{u"page-ranges=4-9"_s} << 2;
        QTest::newRow("all of them")
            << QStringList{u"media=Legal"_s, u"orientation-requested=4"_s, u"print-color-mode=monochrome"_s,
                           u"page-ranges=1-2"_s}
            << 9;
    }
    void applyThenRead_givesTheSettingsBack()
    {
        QFETCH(QStringList, options);
        QFETCH(int, copies);
        PrinterSettings settings;
        settings.copies = copies;
        for (const QString &text : options)
            settings.options << *core::parseJobOption(text).option;
        const auto printer = pdfPrinter();
        PrinterDefaults asItStarts = a4Simplex();
        asItStarts.pageSize = printer->pageLayout().pageSize();
        asItStarts.colorMode = printer->colorMode();
        platform::applySettings(settings, *printer);
        const PrinterSettings read = platform::settingsFrom(platform::choiceOf(*printer), asItStarts);
        QCOMPARE(optionTexts(read), options);
        QCOMPARE(read.copies, copies);
        QCOMPARE(read.printer, QString());
    }

    // A page list the dialog cannot show as one range is not forced into
    // one; the pages become all pages there.
    void applySettings_takesOnlyASingleRange()
    {
        PrinterSettings settings;
        settings.set(core::option::PageRanges, QStringLiteral("1-3,7-9"));
        const auto printer = pdfPrinter();
        platform::applySettings(settings, *printer);
        QCOMPARE(printer->printRange(), QPrinter::AllPages);
        settings.set(core::option::PageRanges, QStringLiteral("5"));
        platform::applySettings(settings, *printer);
        QCOMPARE(printer->printRange(), QPrinter::PageRange);
        QCOMPARE(QPoint(printer->fromPage(), printer->toPage()), QPoint(5, 5));
    }

    // The rig's queue has no driver and takes no option it was not made
    // with: a dialog left as it opened must add none. The default queue is
    // stored by name, since the user chose it.
    void untouchedDialog_onARealQueue_addsNoOption_data()
    {
        QTest::addColumn<QString>("named");
        QTest::newRow("the default queue") << QString();
        QTest::newRow("the queue by name") << QStringLiteral("Rig");
    }
    void untouchedDialog_onARealQueue_addsNoOption()
    {
        QFETCH(QString, named);
        QVERIFY2(!rig::sharedServer().isEmpty(), "the print rig is running");
        PrinterSettings settings;
        settings.printer = named;
        QPrinter printer;
        platform::applySettings(settings, printer);
        QCOMPARE(printer.printerName(), QStringLiteral("Rig"));
        const PrinterSettings read
            = platform::settingsFrom(platform::choiceOf(printer), platform::defaultsOf(printer.printerName()));
        QCOMPARE(read.printer, QStringLiteral("Rig"));
        QCOMPARE(read.copies, 1);
        QCOMPARE(optionTexts(read), QStringList());
    }

    // The printer's properties offer paper and orientation, which are kept,
    // but not the margins, which every page keeps for its headings.
    void properties_offerPaperButNoMargins()
    {
        QVERIFY2(!rig::sharedServer().isEmpty(), "the print rig is running");
        bool propertiesShown = false;
        bool marginsFound = false;
        bool marginsOffered = true;
        bool paperOffered = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *properties = dialog->findChild<QPushButton *>(u"properties"_s);
            QVERIFY(properties && properties->isEnabled());
            // The properties are modal too: looked at once they are up.
            QTimer::singleShot(0, this, [&] {
                auto *shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                QVERIFY(shown);
                propertiesShown = true;
                // By the name the editor hides it by: a Qt that renamed it
                // fails here, not silently in the user's dialog.
                const auto *margin = shown->findChild<QWidget *>(platform::QtDialogParts().margins);
                marginsFound = margin != nullptr;
                marginsOffered = margin && margin->isVisibleTo(shown);
                const auto *paper = shown->findChild<QWidget *>(u"pageSizeCombo"_s);
                paperOffered = paper && paper->isVisibleTo(shown);
                shown->reject();
            });
            properties->click();
            dialog->reject();
        });
        QCOMPARE(platform::makePrinterDialog()->edit(nullptr, PrinterSettings()), std::nullopt);
        QVERIFY(propertiesShown);
        QVERIFY(paperOffered);
        QVERIFY2(marginsFound, "the printer's properties have no margins by the name the editor looks for");
        QVERIFY(!marginsOffered);
    }

    // Each widget the editor finds by Qt's internal object name, in the
    // dialog of the Qt the program runs on. A Qt that renamed one fails
    // here by that name.
    void qtDialog_hasEveryWidgetTheEditorFindsByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        for (const auto &[name, kind] : privateWidgets())
            QTest::newRow(qPrintable(name)) << name << QString::fromLatin1(kind);
    }
    void qtDialog_hasEveryWidgetTheEditorFindsByName()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QPrinter printer;
        QPrintDialog dialog(&printer);
        const QWidget *widget = dialog.findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(u"Qt's print dialog has no widget \"" + name + u'"'));
        QVERIFY2(widget->inherits(kind.toLatin1().constData()),
                 qPrintable(u'"' + name + u"\" is a " + QString::fromLatin1(widget->metaObject()->className())));
    }

    // The names the editor uses are the ones tested above, so that none
    // goes untested.
    void editorUsesNoOtherWidgetNames()
    {
        const platform::QtDialogParts parts;
        QStringList used = parts.notKept;
        used << parts.printerList << parts.pageSet;
        used.removeDuplicates();
        used.sort();
        QStringList tested;
        for (const auto &[name, kind] : privateWidgets())
            tested << name;
        tested.sort();
        QCOMPARE(used, tested);
    }

    // The print engine's key for the CUPS options, which is where a page
    // list given in the dialog ends up: the engine of a queue keeps a list
    // under it, and the editor reads the pages back from there.
    void cupsOptionsKey_carriesAPageList()
    {
        QVERIFY2(!rig::sharedServer().isEmpty(), "the print rig is running");
        QPrinter printer;
        QCOMPARE(printer.outputFormat(), QPrinter::NativeFormat);
        const platform::QtDialogParts parts;
        printer.printEngine()->setProperty(parts.cupsOptions, QStringList{u"page-ranges"_s, u"2-3,5"_s});
        QVERIFY2(printer.printEngine()->property(parts.cupsOptions).metaType() == QMetaType::fromType<QStringList>(),
                 "the print engine keeps no CUPS options under its key");
        QCOMPARE(platform::choiceOf(printer).pages, pages({{2, 3}, {5, 5}}));
        QPrintDialog dialog(&printer);
        QCOMPARE(platform::missingParts(dialog, parts), QStringList());
    }

    // Without a part, the dialog still opens, still shows the settings and
    // hands them back; what is missing is named once, however often the
    // dialog opens.
    void missingPart_isNamedOnceAndTheSettingsStillEdit_data()
    {
        QTest::addColumn<platform::QtDialogParts>("parts");
        QTest::addColumn<QStringList>("notices");
        const platform::QtDialogParts all;
        const QString without = u"tavimark: Qt's print dialog has no "_s;
        const QString after = u"; the printer settings are edited without them"_s;
        QTest::newRow("every part there") << all << QStringList();
        platform::QtDialogParts noList = all;
        noList.printerList = u"queueList"_s;
        QTest::newRow("the list of queues") << noList << QStringList{without + u"\"queueList\""_s + after};
        platform::QtDialogParts noPageSet = all;
        noPageSet.pageSet = u"sheetPages"_s;
        noPageSet.notKept.replace(noPageSet.notKept.indexOf(u"pageSetCombo"_s), u"sheetPages"_s);
        QTest::newRow("the page set") << noPageSet << QStringList{without + u"\"sheetPages\""_s + after};
        platform::QtDialogParts twoHidden = all;
        twoHidden.notKept << u"reverseOrder"_s << u"collateCopies"_s;
        QTest::newRow("two choices to hide")
            << twoHidden << QStringList{without + u"\"reverseOrder\", \"collateCopies\""_s + after};
        platform::QtDialogParts noKey = all;
        noKey.cupsOptions = QPrintEngine::PrintEnginePropertyKey(QPrintEngine::PPK_CustomBase + 1);
        QTest::newRow("the engine's key") << noKey << QStringList{without + u"print engine key 0xff01"_s + after};
    }
    void missingPart_isNamedOnceAndTheSettingsStillEdit()
    {
        QFETCH(platform::QtDialogParts, parts);
        QFETCH(QStringList, notices);
        QVERIFY2(!rig::sharedServer().isEmpty(), "the print rig is running");
        QStringList said;
        const auto editor = platform::makePrinterDialog(parts, [&said](const QString &line) { said << line; });
        PrinterSettings current;
        current.copies = 3;
        current.set(core::option::Orientation, u"4"_s);
        current.set(core::option::PageRanges, u"2-5"_s);
        for (int opened = 1; opened <= 2; ++opened) {
            const std::optional<PrinterSettings> edited = editAndAccept(*editor, current);
            QVERIFY(edited);
            QCOMPARE(edited->printer, u"Rig"_s);
            QCOMPARE(edited->copies, 3);
            QCOMPARE(optionTexts(*edited), (QStringList{u"orientation-requested=4"_s, u"page-ranges=2-5"_s}));
        }
        QCOMPARE(said, notices);
    }
};

// Qt's print support asks the print system for its queues once; it must
// ask the rig's scheduler, never the machine's own.
int main(int argc, char *argv[])
{
    if (const QString server = rig::sharedServer(); !server.isEmpty())
        qputenv("CUPS_SERVER", server.toLocal8Bit());
    QApplication application(argc, argv);
    TestPrinterDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printerdialog.moc"
