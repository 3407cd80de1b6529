#pragma once

// Command ids of the menus, toolbar and accelerators.
namespace CommandIds
{

inline constexpr int NewPost = 32771;
inline constexpr int EditPost = 32772;
inline constexpr int DeletePost = 32773;
inline constexpr int ExportHtml = 32774;
inline constexpr int SortAscending = 32775;
inline constexpr int SortDescending = 32776;
inline constexpr int Preferences = 32778;
inline constexpr int ShowAll = 32780;
inline constexpr int PrintCurrentAlbum = 32781;
inline constexpr int PreviewCurrentAlbum = 32783;
inline constexpr int PrintAllAlbums = 32785;
inline constexpr int FirstList = 32788;
inline constexpr int LastList = 32804;
inline constexpr int CdRomDrives = 32805;
inline constexpr int TipOfTheDay = 32806;
inline constexpr int EmailSupport = 32808;
inline constexpr int VisitWebsite = 32809;
inline constexpr int HelpContents = 32810;
inline constexpr int ImportDiscogs = 32850;
inline constexpr int ImportCsv = 32851;
inline constexpr int ExportCsv = 32852;
inline constexpr int CompleteFromMusicBrainz = 32853;
inline constexpr int Statistics = 32854;
inline constexpr int AlbumsOnLoan = 32855;
inline constexpr int SetPassword = 32860;
inline constexpr int RestoreFromBackup = 32861;
inline constexpr int PublishSite = 32870;
inline constexpr int ImportDiscogsWantlist = 32875;
inline constexpr int ShowWantList = 32876;
inline constexpr int ShowCollection = 32877;
inline constexpr int ShowEverything = 32878;
inline constexpr int FindDuplicates = 32880;
inline constexpr int FirstColumn = 33000;
inline constexpr int LastColumn = 33039;

inline constexpr int NewDatabase = 57600;
inline constexpr int OpenDatabase = 57601;
inline constexpr int Copy = 57634;
inline constexpr int Cut = 57635;
inline constexpr int Find = 57636;
inline constexpr int Paste = 57637;
inline constexpr int About = 57664;
inline constexpr int Exit = 57665;
inline constexpr int NextPane = 57680;
inline constexpr int PreviousPane = 57681;

} // namespace CommandIds
