#pragma once

#include "app/ErrorReporter.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVector>

// Catalogue files for tests, always in a temporary folder of their own.
class TestCatalog
{
public:
    TestCatalog();
    bool isValid() const { return m_folder.isValid(); }
    QString folder() const { return m_folder.path(); }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }

    // A fresh copy of the empty catalogue.
    QString copyOfTemplate(const QString& name = QStringLiteral("test.muf")) const;
    // A copy of the demonstration catalogue.
    QString copyOfDemo(const QString& name = QStringLiteral("demo.muf")) const;

    static QString programDirectory();
    static QByteArray schemaSql();
    static QByteArray readBytes(const QString& path);
    // Overwrites the catalogue's last page (or, with `firstPage`, its first one) with garbage,
    // as a disk error would; false when the file cannot be written.
    static bool damagePage(const QString& path, bool firstPage = false);
    // The albums not deleted in the catalogue at `path` opened with `connect`; -1 when it does
    // not open with that key.
    static int albumCount(const QString& path, const QString& connect);

private:
    QTemporaryDir m_folder;
};

// Collects what the core reports instead of showing it, for as long as it lives.
class ReportRecorder
{
public:
    ReportRecorder();
    ~ReportRecorder();
    ReportRecorder(const ReportRecorder&) = delete;
    ReportRecorder& operator=(const ReportRecorder&) = delete;

    const QVector<Report>& reports() const { return m_reports; }
    int count() const { return m_reports.size(); }
    QString lastText() const { return m_reports.isEmpty() ? QString() : m_reports.last().text; }
    void clear() { m_reports.clear(); }

private:
    QVector<Report> m_reports;
    ErrorReporter::Handler m_previous;
};
