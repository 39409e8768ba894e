// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/signin.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace app {

// The window's answers to sites that ask for a user name and password. A
// list file may come from anyone, and so may the sites it names: each site
// (scheme, host and port) is asked about at most once a run, however many
// of its entries or realms ask, and what the user gave a site goes to that
// site and realm alone. "Cancel" turns down every later request of the site
// in the run, so its entries fail with that reason rather than ask again.
class SiteSignIns {
public:
    // Asks the user, for `site` and the server's `realm`; nothing for Cancel.
    using Ask = std::function<std::optional<core::Credentials>(const QString &site, const QString &realm)>;

    explicit SiteSignIns(Ask ask);

    core::SignInAnswer answer(const QUrl &url, const QString &realm);
    // Forgets every answer, for a new run or when the user forgets sign-ins.
    void forget() { m_sites.clear(); }

    // The site a request comes from, as the dialog names it.
    static QString siteOf(const QUrl &url);

private:
    struct Answered {
        QString realm;
        std::optional<core::Credentials> credentials;
    };

    Ask m_ask;
    QHash<QString, Answered> m_sites;
    QSet<QString> m_asking;
};

} // namespace app
