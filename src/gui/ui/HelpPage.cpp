#include "ui/HelpPage.h"

#include "ui/HelpSchemeHandler.h"
#include "ui/UrlOpener.h"

#include <QUrl>

namespace
{

bool isInsideHelpFile(const QUrl& url)
{
    return url.scheme() == QLatin1String(HelpSchemeHandler::Scheme) &&
           url.host() == QLatin1String(HelpSchemeHandler::Host);
}

} // namespace

HelpPage::HelpPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

bool HelpPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool)
{
    if (isInsideHelpFile(url))
        return true;
    // The opener itself lets only web and mail addresses leave the program.
    if (type == NavigationTypeLinkClicked)
        UrlOpener::open(url);
    return false;
}
