#pragma once

#include "app/SettingsTable.h"

#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

// The per-user settings store: 32-bit integers and strings in named sections under the profile
// root. Reading an absent value yields the caller's default; writing a null string removes it.
class AppSettings
{
public:
    static constexpr const char* Organisation = "Quillon";
    static constexpr const char* Application = "Tunvale";
    static constexpr const char* ProfileRoot = "Vastry";

    AppSettings();
    ~AppSettings();
    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    // Puts every settings file of this process under `folder` (tests, portable runs).
    static void useFolder(const QString& folder);

    int readInt(const QString& section, const QString& name, int defaultValue) const;
    QString readString(const QString& section, const QString& name,
                       const QString& defaultValue = QString()) const;
    void writeInt(const QString& section, const QString& name, int value);
    void writeString(const QString& section, const QString& name, const QString& value);

    int read(const IntSetting& setting) const;
    QString read(const StringSetting& setting) const;
    void write(const IntSetting& setting, int value);
    void write(const StringSetting& setting, const QString& value);

    int columnOrder(const QString& caption, int columnIndex) const;
    bool columnShown(const QString& caption) const;
    int columnWidth(const QString& caption) const;
    void writeColumnState(const QString& caption, int order, bool shown, int width);

    // The toolbar's own state, stored outside the profile root.
    QByteArray readToolbarState() const;
    void writeToolbarState(const QByteArray& state);

    void sync();
    QString fileName() const;

private:
    QVariant value(const QString& key) const;

    std::unique_ptr<QSettings> m_settings;
};
