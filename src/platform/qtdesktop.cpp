#include "desktop.h"
#include "appinfo.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTime>

#include <random>

namespace platform {

namespace {

class QtFileOpenDialog final : public FileOpenDialog {
public:
    QStringList showOpen(QWidget *owner, const QString &title, const QStringList &nameFilters) override
    {
        QFileDialog dialog(owner, title);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setNameFilters(nameFilters);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        QStringList files = dialog.selectedFiles();
        for (QString &file : files)
            file = QDir::toNativeSeparators(file);
        return files;
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
