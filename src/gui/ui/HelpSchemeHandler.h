#pragma once

#include <QWebEngineUrlSchemeHandler>

class ChmArchive;

// Serves the help window's pages out of the help file: "tunvale-help://music/html/index.htm"
// is the object "/html/index.htm". Links between the pages resolve as between files.
class HelpSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    static constexpr const char* Scheme = "tunvale-help";
    static constexpr const char* Host = "music";

    HelpSchemeHandler(const ChmArchive& archive, QObject* parent = nullptr);

    // Makes the scheme known to the web engine; it has to happen before the engine starts,
    // that is before the first web view is made. Later calls do nothing.
    static void registerScheme();
    static QUrl urlOf(const QString& objectPath);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    const ChmArchive& m_archive;
};
