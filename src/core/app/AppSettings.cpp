#include "app/AppSettings.h"

#include <QSettings>
#include <limits>

namespace
{

QString profileKey(const QString& section, const QString& name)
{
    return QStringLiteral("%1/%2/%3").arg(QLatin1String(AppSettings::ProfileRoot), section, name);
}

QString toolbarKey()
{
    return QStringLiteral("%1/%2").arg(QLatin1String(SettingsTable::ToolbarKey),
                                       QLatin1String(SettingsTable::ToolbarValue));
}

bool isDefaultShownColumn(const QString& caption)
{
    return caption == QLatin1String("Artist") || caption == QLatin1String("Title") ||
           caption == QLatin1String("Record Year");
}

} // namespace

AppSettings::AppSettings()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QLatin1String(Organisation),
                                             QLatin1String(Application)))
{
}

AppSettings::~AppSettings() = default;

void AppSettings::useFolder(const QString& folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

QVariant AppSettings::value(const QString& key) const
{
    return m_settings->value(key);
}

int AppSettings::readInt(const QString& section, const QString& name, int defaultValue) const
{
    const QVariant stored = value(profileKey(section, name));
    if (!stored.isValid())
        return defaultValue;
    // A value edited by hand into something that is no 32-bit integer counts as absent.
    bool ok = false;
    const qlonglong number = stored.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(number);
}

QString AppSettings::readString(const QString& section, const QString& name,
                                const QString& defaultValue) const
{
    const QVariant stored = value(profileKey(section, name));
    if (!stored.isValid())
        return defaultValue;
    return stored.toString();
}

void AppSettings::writeInt(const QString& section, const QString& name, int value)
{
    m_settings->setValue(profileKey(section, name), value);
}

void AppSettings::writeString(const QString& section, const QString& name, const QString& value)
{
    if (value.isNull())
        m_settings->remove(profileKey(section, name));
    else
        m_settings->setValue(profileKey(section, name), value);
}

int AppSettings::read(const IntSetting& setting) const
{
    return readInt(QLatin1String(setting.section), QLatin1String(setting.name),
                   setting.defaultValue);
}

QString AppSettings::read(const StringSetting& setting) const
{
    return readString(QLatin1String(setting.section), QLatin1String(setting.name),
                      setting.defaultValue ? QString::fromLatin1(setting.defaultValue) : QString());
}

void AppSettings::write(const IntSetting& setting, int value)
{
    writeInt(QLatin1String(setting.section), QLatin1String(setting.name), value);
}

void AppSettings::write(const StringSetting& setting, const QString& value)
{
    writeString(QLatin1String(setting.section), QLatin1String(setting.name), value);
}

int AppSettings::columnOrder(const QString& caption, int columnIndex) const
{
    return readInt(QLatin1String(SettingsTable::ColumnOrderSection), caption, columnIndex);
}

bool AppSettings::columnShown(const QString& caption) const
{
    return readInt(QLatin1String(SettingsTable::ColumnShowSection), caption,
                   isDefaultShownColumn(caption) ? 1 : 0) != 0;
}

int AppSettings::columnWidth(const QString& caption) const
{
    return readInt(QLatin1String(SettingsTable::ColumnWidthSection), caption,
                   SettingsTable::DefaultColumnWidth);
}

void AppSettings::writeColumnState(const QString& caption, int order, bool shown, int width)
{
    writeInt(QLatin1String(SettingsTable::ColumnOrderSection), caption, order);
    writeInt(QLatin1String(SettingsTable::ColumnShowSection), caption, shown ? 1 : 0);
    writeInt(QLatin1String(SettingsTable::ColumnWidthSection), caption, width);
}

QByteArray AppSettings::readToolbarState() const
{
    return m_settings->value(toolbarKey()).toByteArray();
}

void AppSettings::writeToolbarState(const QByteArray& state)
{
    m_settings->setValue(toolbarKey(), state);
}

void AppSettings::sync()
{
    m_settings->sync();
}

QString AppSettings::fileName() const
{
    return m_settings->fileName();
}
