#include "desktop.h"
#include "appinfo.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QTime>

#include <random>

namespace platform {

namespace {

// "HTML Files (*.htm;*.html)|*.htm;*.html|" becomes "HTML Files (*.htm *.html)".
// "*.*" means every file on the system the filters were written for; here a
// name need not hold a dot, so it becomes "*".
QStringList toQtNameFilters(const QString &filter)
{
    const QStringList fields = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QString description = fields.at(i);
        const qsizetype paren = description.indexOf(u'(');
        if (paren > 0)
            description = description.left(paren).trimmed();
        QStringList patterns = fields.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            if (pattern == u"*.*")
                pattern = QStringLiteral("*");
        }
        result << description + u" (" + patterns.join(u' ') + u')';
    }
    return result;
}

class QtFileOpenDialog final : public FileOpenDialog {
public:
    QString showOpen(QWidget *owner, const QString &title, const QString &filter) override
    {
        QFileDialog dialog(owner, title);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setNameFilters(toQtNameFilters(filter));
        if (dialog.exec() != QDialog::Accepted)
            return {};
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty())
            return {};
        if (files.size() == 1)
            return QDir::toNativeSeparators(files.first());
        QStringList fields{QDir::toNativeSeparators(QFileInfo(files.first()).absolutePath())};
        for (const QString &file : files)
            fields << QFileInfo(file).fileName();
        return fields.join(QChar(0));
    }
};

class QtFolderBrowser final : public FolderBrowser {
public:
    QString browseForFolder(QWidget *owner, const QString &prompt) override
    {
        return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(owner, prompt));
    }
};

class QtInputBox final : public InputBox {
public:
    QString ask(QWidget *owner, const QString &prompt, const QString &initialText) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(owner, applicationTitle(), prompt,
                                                   QLineEdit::Normal, initialText, &ok);
        return ok ? text : QString();
    }
};

class QtMessageBox final : public MessageBox {
public:
    void show(QWidget *owner, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, owner);
        box.exec();
    }
};

class DesktopUrlLauncher final : public UrlLauncher {
public:
    void open(const QUrl &url) override { QDesktopServices::openUrl(url); }
};

// Seeded from the seconds since midnight, so that every start draws anew.
class TimeSeededRandom final : public RandomSource {
public:
    TimeSeededRandom() : m_engine(QTime::currentTime().msecsSinceStartOfDay() / 1000) { }
    double next() override { return m_distribution(m_engine); }

private:
    std::mt19937 m_engine;
    std::uniform_real_distribution<double> m_distribution{0.0, 1.0};
};

} // namespace

Desktop makeQtDesktop()
{
    Desktop desktop;
    desktop.fileDialog = std::make_unique<QtFileOpenDialog>();
    desktop.folderBrowser = std::make_unique<QtFolderBrowser>();
    desktop.inputBox = std::make_unique<QtInputBox>();
    desktop.messageBox = std::make_unique<QtMessageBox>();
    desktop.launcher = std::make_unique<DesktopUrlLauncher>();
    desktop.random = std::make_unique<TimeSeededRandom>();
    desktop.printer = makeDocumentPrinter();
    return desktop;
}

} // namespace platform
