// SPDX-License-Identifier: GPL-3.0-or-later
#include "sitesignins.h"

namespace app {

SiteSignIns::SiteSignIns(Ask ask)
    : m_ask(std::move(ask))
{
}

QString SiteSignIns::siteOf(const QUrl &url)
{
    return url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
        .toString(QUrl::FullyEncoded);
}

core::SignInAnswer SiteSignIns::answer(const QUrl &url, const QString &realm)
{
    const QString site = siteOf(url);
    core::SignInAnswer answer;
    // Another page of the site asked while the user is still answering: it
    // waits for that answer rather than open a second dialog.
    if (m_asking.contains(site)) {
        answer.pending = true;
        return answer;
    }
    if (const auto known = m_sites.constFind(site); known != m_sites.constEnd()) {
        answer.refused = !known->credentials;
        if (known->credentials && known->realm == realm)
            answer.credentials = known->credentials;
        return answer;
    }
    m_asking.insert(site);
    const std::optional<core::Credentials> given = m_ask(site, realm);
    m_asking.remove(site);
    m_sites.insert(site, {realm, given});
    answer.credentials = given;
    answer.refused = !given;
    return answer;
}

} // namespace app
