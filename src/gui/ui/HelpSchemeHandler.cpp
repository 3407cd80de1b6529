#include "ui/HelpSchemeHandler.h"

#include "ui/ChmArchive.h"

#include <QBuffer>
#include <QMimeDatabase>
#include <QUrl>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

HelpSchemeHandler::HelpSchemeHandler(const ChmArchive& archive, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), m_archive(archive)
{
}

void HelpSchemeHandler::registerScheme()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    // A host part makes relative links resolve like a web site's; the pages are local and
    // reach nothing outside the help file.
    QWebEngineUrlScheme scheme(Scheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl HelpSchemeHandler::urlOf(const QString& objectPath)
{
    QUrl url;
    url.setScheme(QLatin1String(Scheme));
    url.setHost(QLatin1String(Host));
    url.setPath(objectPath.startsWith(QLatin1Char('/')) ? objectPath
                                                        : QLatin1Char('/') + objectPath);
    return url;
}

void HelpSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    QByteArray content;
    const QString path = job->requestUrl().path();
    if (job->requestMethod() != "GET" || !m_archive.read(path, &content)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    static const QMimeDatabase types;
    const QByteArray type =
        types.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name().toLatin1();
    auto* body = new QBuffer(job);
    body->setData(content);
    job->reply(type, body);
}
