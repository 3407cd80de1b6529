#pragma once

#include <QObject>
#include <QString>

class QWebEngineView;

// Watches a web view for the two ways its page can fail: the page process ends (it crashed or
// ran out of memory) or a load fails. Says why in one line, and says so again when a later load
// succeeds. Whatever shows the page can then tell the user and keep away from the dead page:
// printing through a page whose process is gone takes the whole program down.
class WebViewFailures : public QObject
{
    Q_OBJECT

public:
    // Watches the page `view` shows now: set the view's own page first.
    explicit WebViewFailures(QWebEngineView* view);

    bool failed() const { return !m_reason.isEmpty(); }
    // "the web engine's page process ended (exit code 9)." or the load's own error text.
    const QString& reason() const { return m_reason; }

signals:
    // `reason` is empty when a load succeeded after a failure.
    void changed(const QString& reason);

private:
    void setReason(const QString& reason);

    QString m_reason;
};
