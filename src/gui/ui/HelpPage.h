#pragma once

#include <QWebEnginePage>

// A page of the help window. It stays inside the help file: a followed link to a web or mail
// address goes to the desktop's own program, and every other address outside the help file
// (another file, another site, another scheme) is refused, whoever asks for it.
class HelpPage : public QWebEnginePage
{
    Q_OBJECT

public:
    HelpPage(QWebEngineProfile* profile, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};
