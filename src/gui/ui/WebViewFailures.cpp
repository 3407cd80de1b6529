#include "ui/WebViewFailures.h"

#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

WebViewFailures::WebViewFailures(QWebEngineView* view) : QObject(view)
{
    QWebEnginePage* page = view->page();
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus, int exitCode) {
                setReason(QStringLiteral("the web engine's page process ended (exit code %1).")
                              .arg(exitCode));
            });
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        // A load stopped because a newer one began is no failure.
        if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
            setReason(QString());
        else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
            setReason(info.errorString().isEmpty()
                          ? QStringLiteral("the page did not load.")
                          : QStringLiteral("the page did not load (%1).").arg(info.errorString()));
    });
}

void WebViewFailures::setReason(const QString& reason)
{
    if (reason == m_reason)
        return;
    m_reason = reason;
    emit changed(reason);
}
