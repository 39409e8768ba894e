// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/desktop.h"
#include "core/appinfo.h"
#include "loadingdialog.h"
#include "printerdialog.h"
#include "signinwindow.h"
#include "platform/engine/enginerenderer.h"
#include "platform/printers/printers.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTime>

#include <algorithm>
#include <random>

using core::applicationTitle;
using core::Desktop;
using core::FileOpenDialog;
using core::FileSaveDialog;
using core::FolderBrowser;
using core::InputBox;
using core::MessageBox;
using core::RandomSource;
using core::UrlLauncher;

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

class QtFileSaveDialog final : public FileSaveDialog {
public:
    QString showSave(QWidget *owner, const QString &title, const QStringList &nameFilters) override
    {
        const QString file = QFileDialog::getSaveFileName(owner, title, QString(), nameFilters.join(u";;"));
        return QDir::toNativeSeparators(file);
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

// A message box that stays on its screen. The box sizes itself to its text,
// which for a message about thousands of entries could be taller than any
// screen, with its OK button out of reach; so whatever size it settles on is
// held to the screen's free area, and the whole text stays behind the
// details button.
class FittedMessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        fitOnScreen();
    }
    void resizeEvent(QResizeEvent *event) override
    {
        QMessageBox::resizeEvent(event);
        fitOnScreen();
    }

private:
    void fitOnScreen()
    {
        const QScreen *screen = this->screen();
        if (!screen || m_fitting)
            return;
        m_fitting = true;
        const QRect available = screen->availableGeometry();
        const QSize frame = frameGeometry().size() - size();
        const QSize room = available.size() - frame;
        if (width() > room.width() || height() > room.height())
            setFixedSize(size().boundedTo(room));
        // Where the dialog placed itself (over its window) stands, unless
        // that leaves part of it off the screen.
        QRect placed = frameGeometry();
        if (!available.contains(placed)) {
            placed.moveLeft(std::clamp(placed.left(), available.left(),
                                       std::max(available.left(), available.right() - placed.width() + 1)));
            placed.moveTop(std::clamp(placed.top(), available.top(),
                                      std::max(available.top(), available.bottom() - placed.height() + 1)));
            move(placed.topLeft());
        }
        m_fitting = false;
    }

    bool m_fitting = false;
};

class QtMessageBox final : public MessageBox {
public:
    void show(QWidget *owner, const QString &text, const QString &details) override
    {
        FittedMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, owner);
        if (!details.isEmpty())
            box.setDetailedText(details);
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

} // namespace platform

// Declared in core beside the interfaces it fills in, so defined outside
// namespace platform.
Desktop core::makeQtDesktop(const QString &profileFolder)
{
    Desktop desktop;
    desktop.fileDialog = std::make_unique<platform::QtFileOpenDialog>();
    desktop.saveDialog = std::make_unique<platform::QtFileSaveDialog>();
    desktop.folderBrowser = std::make_unique<platform::QtFolderBrowser>();
    desktop.inputBox = std::make_unique<platform::QtInputBox>();
    desktop.messageBox = std::make_unique<platform::QtMessageBox>();
    desktop.launcher = std::make_unique<platform::DesktopUrlLauncher>();
    desktop.printerSettings = platform::makePrinterDialog();
    desktop.loadingSettings = platform::makeLoadingDialog();
    desktop.selectorRejected = platform::engineRejectsSelector;
    desktop.random = std::make_unique<platform::TimeSeededRandom>();
    core::SignIn signIn;
    signIn.profileFolder = profileFolder;
    // The pages that print and the sign-in windows share one profile, so a
    // sign-in made in one serves the other.
    auto profile = std::make_shared<platform::SharedProfile>(signIn);
    desktop.renderers = platform::engineRenderers(profile, desktop.askSignIn);
    desktop.signIns = platform::makeSignInWindows(profile);
    desktop.credentials = platform::makeCredentialsDialog();
    desktop.printSink = platform::makePrinterSink();
    return desktop;
}
