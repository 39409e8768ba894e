// SPDX-License-Identifier: GPL-3.0-or-later
#include "signinwindow.h"

#include "core/appinfo.h"
#include "platform/engine/enginerenderer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace platform {

namespace {

// A small browser on one site, for signing in as in any browser. It holds
// the profile, since a page must never outlive its profile, and lets its
// page go first.
class SignInWindow final : public QWidget {
public:
    SignInWindow(std::shared_ptr<QWebEngineProfile> profile, const QUrl &url, QWidget *owner)
        : QWidget(owner, Qt::Window)
        , m_profile(std::move(profile))
        , m_view(new QWebEngineView(this))
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QCoreApplication::translate("SignInWindow", "Sign in to %1").arg(url.host()));
        m_view->setPage(new QWebEnginePage(m_profile.get(), m_view));
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_view);
        resize(800, 600);
        m_view->load(url);
    }

    ~SignInWindow() override { delete m_view; }

private:
    std::shared_ptr<QWebEngineProfile> m_profile;
    QWebEngineView *m_view = nullptr;
};

class QtSignInWindows final : public core::SignInWindows {
public:
    explicit QtSignInWindows(std::shared_ptr<SharedProfile> profile)
        : m_profile(std::move(profile))
    {
    }

    void open(QWidget *owner, const QUrl &url) override
    {
        auto *window = new SignInWindow(m_profile->profile(), url, owner);
        window->setObjectName(QStringLiteral("signInWindow"));
        window->show();
    }

    void forget() override
    {
        QWebEngineProfile &profile = *m_profile->profile();
        // Not the cache: clearing it holds up every load that starts while
        // it runs, here for longer than a document's time bound. The
        // profile keeps its cache in memory, so it goes with the program.
        profile.cookieStore()->deleteAllCookies();
        profile.clearAllVisitedLinks();
    }

private:
    std::shared_ptr<SharedProfile> m_profile;
};

class QtCredentialsDialog final : public core::CredentialsDialog {
public:
    std::optional<core::Credentials> ask(QWidget *owner, const QString &site, const QString &realm) override
    {
        QDialog dialog(owner);
        dialog.setWindowTitle(core::applicationTitle());
        auto *layout = new QVBoxLayout(&dialog);
        auto *text = new QLabel(realm.isEmpty() ? QCoreApplication::translate("SignInWindow", "%1 asks for a user name and password.").arg(site)
                                                : QCoreApplication::translate("SignInWindow", "%1 asks for a user name and password for \"%2\".").arg(site, realm),
                                &dialog);
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        layout->addWidget(text);
        auto *form = new QFormLayout;
        auto *user = new QLineEdit(&dialog);
        auto *password = new QLineEdit(&dialog);
        password->setEchoMode(QLineEdit::Password);
        form->addRow(QCoreApplication::translate("SignInWindow", "User name:"), user);
        form->addRow(QCoreApplication::translate("SignInWindow", "Password:"), password);
        layout->addLayout(form);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        layout->addWidget(buttons);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return core::Credentials{user->text(), password->text()};
    }
};

} // namespace

std::unique_ptr<core::SignInWindows> makeSignInWindows(std::shared_ptr<SharedProfile> profile)
{
    return std::make_unique<QtSignInWindows>(std::move(profile));
}

std::unique_ptr<core::CredentialsDialog> makeCredentialsDialog()
{
    return std::make_unique<QtCredentialsDialog>();
}

} // namespace platform
