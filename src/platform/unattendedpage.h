#pragma once

#include <QWebEnginePage>

#include <memory>

class QWebEngineProfile;

namespace platform {

// A page nobody looks at: whatever a document asks of a user is answered at
// once (alerts dismissed, prompts cancelled, passwords and certificates
// declined, permissions denied, new windows refused), so nothing a document
// does can hold up a print run.
class UnattendedPage final : public QWebEnginePage {
    Q_OBJECT

public:
    explicit UnattendedPage(QWebEngineProfile *profile, QObject *parent = nullptr);

    // Whether the document's server, or a proxy, asked for credentials
    // since the last load began.
    bool passwordAsked() const { return m_passwordAsked; }
    void forgetPasswordAsked() { m_passwordAsked = false; }

protected:
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }
    void javaScriptAlert(const QUrl &, const QString &) override { }
    // Also asked before leaving a page; refusing would keep the old document.
    bool javaScriptConfirm(const QUrl &, const QString &) override { return true; }
    bool javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *) override { return false; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int, const QString &) override { }
    QStringList chooseFiles(FileSelectionMode, const QStringList &, const QStringList &) override { return {}; }

private:
    bool m_passwordAsked = false;
};

// An off-the-record profile for unattended pages: nothing a document sets
// (cookies, storage, cache) reaches the disk or outlives the program, scripts
// run but may not reach beyond their page, and downloads are refused.
std::shared_ptr<QWebEngineProfile> makeUnattendedProfile();

} // namespace platform
