// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Scripted stand-ins for the modal and external parts of the desktop. Each
// records what it was asked and answers from a queue, as a user would.

#include "fakeprint.h"
#include "core/desktop.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

// Each answer is the list of paths one use of the dialog picks; an empty
// list (or none queued) is a cancel.
struct ScriptedFileDialog final : core::FileOpenDialog {
    struct Call { QString title; QStringList nameFilters; };
    QList<QStringList> answers;
    QList<Call> calls;
    QStringList showOpen(QWidget *, const QString &title, const QStringList &nameFilters) override
    {
        calls.append({title, nameFilters});
        return answers.isEmpty() ? QStringList() : answers.takeFirst();
    }
};

// Each answer is the path one use of the save dialog picks; "" (or none
// queued) is a cancel.
struct ScriptedSaveDialog final : core::FileSaveDialog {
    struct Call { QString title; QStringList nameFilters; };
    QStringList answers;
    QList<Call> calls;
    QString showSave(QWidget *, const QString &title, const QStringList &nameFilters) override
    {
        calls.append({title, nameFilters});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

struct ScriptedFolderBrowser final : core::FolderBrowser {
    QStringList answers;
    QStringList prompts;
    QString browseForFolder(QWidget *, const QString &prompt) override
    {
        prompts << prompt;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

struct ScriptedInputBox final : core::InputBox {
    struct Call { QString prompt, initialText; };
    QStringList answers;
    QList<Call> calls;
    QString ask(QWidget *, const QString &prompt, const QString &initialText) override
    {
        calls.append({prompt, initialText});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

struct RecordingMessageBox final : core::MessageBox {
    QStringList shown;
    QStringList details;
    std::function<void()> whileShown;  // runs as if the user read the message
    void show(QWidget *, const QString &text, const QString &detail) override
    {
        shown << text;
        details << detail;
        if (whileShown)
            whileShown();
    }
};

struct RecordingLauncher final : core::UrlLauncher {
    QList<QUrl> opened;
    void open(const QUrl &url) override { opened << url; }
};

// Each answer is what one use of the printer settings dialog hands back;
// nothing (or none queued) is a cancel. `whileOpen` runs as if the user
// worked in the window meanwhile.
struct ScriptedPrinterSettings final : core::PrinterSettingsEditor {
    QList<std::optional<core::PrinterSettings>> answers;
    QList<core::PrinterSettings> shown;  // the settings each use started at
    std::function<void()> whileOpen;
    std::optional<core::PrinterSettings> edit(QWidget *, const core::PrinterSettings &current) override
    {
        shown << current;
        if (whileOpen)
            whileOpen();
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};

// The same for the loading settings dialog.
struct ScriptedLoadingSettings final : core::LoadingSettingsEditor {
    QList<std::optional<core::LoadingSettings>> answers;
    QList<core::LoadingSettings> shown;
    std::optional<core::LoadingSettings> edit(QWidget *, const core::LoadingSettings &current) override
    {
        shown << current;
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};

struct FixedRandom final : core::RandomSource {
    double value = 0.5;
    double next() override { return value; }
};

// Builds a Desktop of fakes and keeps plain pointers to them for the test.
struct FakeDesktop {
    ScriptedFileDialog *fileDialog = nullptr;
    ScriptedSaveDialog *saveDialog = nullptr;
    ScriptedFolderBrowser *folderBrowser = nullptr;
    ScriptedInputBox *inputBox = nullptr;
    RecordingMessageBox *messageBox = nullptr;
    RecordingLauncher *launcher = nullptr;
    ScriptedPrinterSettings *printerSettings = nullptr;
    ScriptedLoadingSettings *loadingSettings = nullptr;
    // The selectors the engine stand-in refuses as CSS.
    std::shared_ptr<QStringList> rejectedSelectors = std::make_shared<QStringList>();
    FixedRandom *random = nullptr;
    ScriptedPages pages;
    std::shared_ptr<PrinterScript> printer = std::make_shared<PrinterScript>();

    core::Desktop make()
    {
        core::Desktop desktop;
        desktop.fileDialog = std::make_unique<ScriptedFileDialog>();
        desktop.saveDialog = std::make_unique<ScriptedSaveDialog>();
        desktop.folderBrowser = std::make_unique<ScriptedFolderBrowser>();
        desktop.inputBox = std::make_unique<ScriptedInputBox>();
        desktop.messageBox = std::make_unique<RecordingMessageBox>();
        desktop.launcher = std::make_unique<RecordingLauncher>();
        desktop.printerSettings = std::make_unique<ScriptedPrinterSettings>();
        desktop.loadingSettings = std::make_unique<ScriptedLoadingSettings>();
        desktop.selectorRejected = [rejected = rejectedSelectors](const QString &selector) {
            return rejected->contains(selector);
        };
        desktop.random = std::make_unique<FixedRandom>();
        desktop.renderers = pages.factory();
        desktop.printSink = std::make_unique<ScriptedSink>(printer);
        fileDialog = static_cast<ScriptedFileDialog *>(desktop.fileDialog.get());
        saveDialog = static_cast<ScriptedSaveDialog *>(desktop.saveDialog.get());
        folderBrowser = static_cast<ScriptedFolderBrowser *>(desktop.folderBrowser.get());
        inputBox = static_cast<ScriptedInputBox *>(desktop.inputBox.get());
        messageBox = static_cast<RecordingMessageBox *>(desktop.messageBox.get());
        launcher = static_cast<RecordingLauncher *>(desktop.launcher.get());
        printerSettings = static_cast<ScriptedPrinterSettings *>(desktop.printerSettings.get());
        loadingSettings = static_cast<ScriptedLoadingSettings *>(desktop.loadingSettings.get());
        random = static_cast<FixedRandom *>(desktop.random.get());
        return desktop;
    }
};
