#pragma once

// Every value the program keeps in its settings store, with its section, name and the default
// a reader gets when the value is absent. Nothing else in the program spells these names.
struct IntSetting {
    const char* section;
    const char* name;
    int defaultValue;
};

struct StringSetting {
    const char* section;
    const char* name;
    const char* defaultValue; // nullptr: no default (empty text)
};

namespace SettingsTable
{

inline constexpr StringSetting LastDatabase{"Settings", "LastDatabase", "demo.muf"};
inline constexpr StringSetting OrderBy{"Settings", "OrderBy", "artist_name ASC, title ASC"};
inline constexpr IntSetting OrderByColumn{"Settings", "OrderByColumn", 0};
// Which albums the list shows: 0 every album, 1 those in the collection, 2 the wanted ones.
inline constexpr IntSetting CollectionView{"Settings", "CollectionView", 0};
inline constexpr IntSetting DisableTips{"Settings", "DisableTips", 0};
inline constexpr IntSetting LastTip{"Settings", "LastTip", -1};
// The menu code reads this one value twice, into two switches with different defaults.
inline constexpr IntSetting MenuStyleFirstSwitch{"Settings", "MenuStyle", 0};
inline constexpr IntSetting TbText{"Settings", "TbText", 1};
inline constexpr StringSetting FreedbDrive{"Settings", "freedbdrive", nullptr};
// Optional CDDB server "host[:port][/path]"; absent means the public default server.
inline constexpr StringSetting CddbServer{"Settings", "CddbServer", nullptr};
// MusicBrainz answers by disc ID when CDDB has no entry; 0 switches it off.
inline constexpr IntSetting MusicBrainz{"Settings", "MusicBrainz", 1};
// "musicbrainz" asks MusicBrainz before CDDB; anything else keeps CDDB first.
inline constexpr StringSetting LookupOrder{"Settings", "LookupOrder", nullptr};
// "host[:port][/path]", HTTPS unless "http://" is written; absent means the public services.
inline constexpr StringSetting MusicBrainzServer{"Settings", "MusicBrainzServer", nullptr};
inline constexpr StringSetting CoverArtServer{"Settings", "CoverArtServer", nullptr};
inline constexpr IntSetting FetchCovers{"Settings", "FetchCovers", 1};

// Copies of each catalogue taken before risky changes and once a day: how many of the newest
// to keep (besides one a month for a year), whether to take them, and where (absent: the
// per-user data folder).
inline constexpr IntSetting BackupKeep{"Backup", "Keep", 10};
inline constexpr IntSetting BackupEnabled{"Backup", "Enabled", 1};
inline constexpr StringSetting BackupFolder{"Backup", "Folder", nullptr};

inline constexpr IntSetting WindowLeft{"WindowPos", "Left", 0};
inline constexpr IntSetting WindowTop{"WindowPos", "Top", 0};
inline constexpr IntSetting WindowRight{"WindowPos", "Right", 0};
inline constexpr IntSetting WindowBottom{"WindowPos", "Bottom", 0};
inline constexpr IntSetting WindowCmd{"WindowPos", "Cmd", 1};
inline constexpr IntSetting TreeWidth{"WindowPos", "TreeWidth", 180};

inline constexpr IntSetting ShowGridlines{"General", "ShowGridlines", 1};
inline constexpr IntSetting FullrowSelect{"General", "FullrowSelect", 1};
inline constexpr IntSetting HotTrack{"General", "HotTrack", 1};

// Per album column, value named by the column caption.
inline constexpr const char* ColumnOrderSection = "ColumnOrder";
inline constexpr const char* ColumnShowSection = "ColumnShow";
inline constexpr const char* ColumnWidthSection = "ColumnWidth";
inline constexpr int DefaultColumnWidth = 100;

// The toolbar keeps its layout outside the profile root, under "<company\product>\Toolbar".
inline constexpr const char* ToolbarKey = "Toolbar";
inline constexpr const char* ToolbarValue = "80";

} // namespace SettingsTable
