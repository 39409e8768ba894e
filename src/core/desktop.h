// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "documentrenderer.h"
#include "printersettings.h"
#include "printsink.h"
#include "signin.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

// The modal and external parts of the desktop that the program's actions use.
// Each is a small interface so that tests can script what a user would answer
// in a dialog, and so that no test ever opens a real web browser.
namespace core {

// The file-open dialog, several files allowed. `nameFilters` are Qt name
// filters ("HTML Files (*.htm *.html)"), the first one chosen at the start.
// Returns the full path of every picked file, in the dialog's order; an
// empty list when the user cancelled.
class FileOpenDialog {
public:
    virtual ~FileOpenDialog() = default;
    virtual QStringList showOpen(QWidget *owner, const QString &title, const QStringList &nameFilters) = 0;
};

// The file-save dialog: one file name, new or existing (the dialog asks
// before an existing file is replaced). `nameFilters` as for FileOpenDialog.
// Returns the full path, or "" when the user cancelled.
class FileSaveDialog {
public:
    virtual ~FileSaveDialog() = default;
    virtual QString showSave(QWidget *owner, const QString &title, const QStringList &nameFilters) = 0;
};

// Chooses one existing folder; "" when the user cancelled.
class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    virtual QString browseForFolder(QWidget *owner, const QString &prompt) = 0;
};

// A one-line text prompt with OK and Cancel; "" when the user cancelled.
class InputBox {
public:
    virtual ~InputBox() = default;
    virtual QString ask(QWidget *owner, const QString &prompt, const QString &initialText) = 0;
};

// A message with an OK button only, no icon, and the program's name as title.
// `details`, when given, is behind a button of the box: the whole of what the
// message could only summarise. The box never grows past the screen.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(QWidget *owner, const QString &text, const QString &details = {}) = 0;
};

// Opens an address in the user's default web browser, without waiting.
class UrlLauncher {
public:
    virtual ~UrlLauncher() = default;
    virtual void open(const QUrl &url) = 0;
};

// The printer settings the user chooses for the window's print runs, in a
// modal dialog that starts at `current`. Closing it with OK only hands the
// choice back; nothing prints. Nothing when the user cancelled.
class PrinterSettingsEditor {
public:
    virtual ~PrinterSettingsEditor() = default;
    virtual std::optional<PrinterSettings> edit(QWidget *owner, const PrinterSettings &current) = 0;
};

// What documents wait for beyond settling, in a small modal dialog beside the
// printer settings that starts at `current`. Nothing when the user cancelled.
class LoadingSettingsEditor {
public:
    virtual ~LoadingSettingsEditor() = default;
    virtual std::optional<LoadingSettings> edit(QWidget *owner, const LoadingSettings &current) = 0;
};

// A site's request for a user name and password, in a modal dialog: `site`
// is the address it comes from (scheme, host and port), `realm` the server's
// own words. Nothing when the user cancelled.
class CredentialsDialog {
public:
    virtual ~CredentialsDialog() = default;
    virtual std::optional<Credentials> ask(QWidget *owner, const QString &site, const QString &realm) = 0;
};

// Signing in to sites with the browser profile the window prints with.
class SignInWindows {
public:
    virtual ~SignInWindows() = default;
    // Opens a small browser window on `url`, without waiting: the user signs
    // in there as in any browser, and what the site sets stays once it closes.
    virtual void open(QWidget *owner, const QUrl &url) = 0;
    // Forgets every sign-in: the cookies and the visited links.
    virtual void forget() = 0;
};

// Uniform draws in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
};

// Everything above, as one bundle handed to the main window.
struct Desktop {
    std::unique_ptr<FileOpenDialog> fileDialog;
    std::unique_ptr<FileSaveDialog> saveDialog;
    std::unique_ptr<FolderBrowser> folderBrowser;
    std::unique_ptr<InputBox> inputBox;
    std::unique_ptr<MessageBox> messageBox;
    std::unique_ptr<UrlLauncher> launcher;
    std::unique_ptr<PrinterSettingsEditor> printerSettings;
    std::unique_ptr<LoadingSettingsEditor> loadingSettings;  // none: not offered
    // Whether the browser engine refuses a CSS selector; none: every one is
    // taken, and one that is not CSS waits in vain.
    std::function<bool(const QString &selector)> selectorRejected;
    std::unique_ptr<RandomSource> random;
    // The browser pages documents are printed through, and where their jobs go.
    RendererFactory renderers;
    std::unique_ptr<PrintSink> printSink;
    std::unique_ptr<CredentialsDialog> credentials;
    std::unique_ptr<SignInWindows> signIns;
    // Who answers a site's request for a password for the renderers above;
    // the window fills it in once it can ask the user.
    std::shared_ptr<SignInAsker> askSignIn = std::make_shared<SignInAsker>();
};

// The real dialogs, browser launcher, a generator seeded from the time of
// day, the browser engine with its profile kept in `profileFolder`, and the
// default printer.
Desktop makeQtDesktop(const QString &profileFolder = {});

} // namespace core
