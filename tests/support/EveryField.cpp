#include "support/EveryField.h"

AlbumRecord EveryField::album()
{
    const auto at = [](int y, int m, int d, QTime time = QTime(0, 0)) {
        return QDateTime(QDate(y, m, d), time, Qt::UTC);
    };
    AlbumRecord album;
    album.purchaseDate = at(1998, 7, 14);
    album.onLoanTo = QStringLiteral("Zoë O'Brien");
    album.loanDate = at(2003, 4, 5, QTime(6, 7));
    album.returnDate = at(2003, 5, 6, QTime(18, 30));
    album.number = 42;
    album.year = 1987;
    album.grade = 7;
    album.title = QStringLiteral("It's \"quoted\" %s <b>bold</b> 東京 %1");
    album.artist = QString(1000, QChar(0x00C4));
    album.mediaType = QStringLiteral("Minidisc");
    album.genre = QStringLiteral("Ska & <Reggae>");
    album.subCategory = QStringLiteral("Two-Tone");
    album.currentValue = QStringLiteral("12.50");
    album.purchasedFrom = QStringLiteral("Flea market, Łódź");
    album.frontImage = QStringLiteral("/no/such/folder/front cover.png");
    album.backImage = QStringLiteral("C:\\covers\\back.jpg");
    album.length = QStringLiteral("45:12");
    album.contents = QStringLiteral("1. One\n2. Two");
    album.notes =
        QStringLiteral("Line one\n<script>x</script>\n") + QString(10000, QLatin1Char('n'));
    album.location = QStringLiteral("Shelf 3");
    album.inCollection = 0;
    album.condition = QStringLiteral("Worn");
    album.purchasePrice = QStringLiteral("7.25");
    album.language = QStringLiteral("Ελληνικά");
    album.country = QStringLiteral("Ísland");
    album.url = QStringLiteral("https://example.org/?a=1&b=%20");
    album.label = QStringLiteral("Label 'Q'");
    album.labelNumber = QStringLiteral("LQ-001");
    album.studio = QStringLiteral("Studio Ω");
    album.producer = QStringLiteral("Pro Ducer");
    album.ad = 4;
    album.engineer = QStringLiteral("En Gineer");
    album.recordingDate = at(1986, 11, 23);
    album.tourName = QStringLiteral("Tour %d");
    album.conductor = QStringLiteral("Con Ductor");
    album.orchestra = QStringLiteral("Orch Estra");
    album.freedbId = QStringLiteral("8a0b2c0d");
    album.barcode = QStringLiteral("0724 '384' <960650>");
    album.musicBrainzReleaseId = QStringLiteral("b84ee12a-09ef-421b-82de-0441a926375b");
    album.discogsReleaseId = QStringLiteral("0249504");
    return album;
}

TrackRecord EveryField::track(int number)
{
    TrackRecord track;
    track.title = QStringLiteral("Track \"%1\" <i>").arg(number);
    track.artist = QStringLiteral("Guest Artist");
    track.genre = QStringLiteral("Dub");
    track.subCategory = QStringLiteral("Roots");
    track.length = QStringLiteral("3:45");
    track.notes = QStringLiteral("note\nnote");
    track.language = QStringLiteral("Suomi");
    track.country = QStringLiteral("Suomi");
    track.label = QStringLiteral("Track Label");
    track.labelNumber = QStringLiteral("TL-%1").arg(number);
    track.studio = QStringLiteral("Track Studio");
    track.producer = QStringLiteral("Track Producer");
    track.engineer = QStringLiteral("Track Engineer");
    track.songwriter = QStringLiteral("Song Writer");
    track.conductor = QStringLiteral("Track Conductor");
    track.orchestra = QStringLiteral("Track Orchestra");
    track.year = 1985;
    track.grade = 9;
    track.lyrics = QStringLiteral("la la\nla");
    track.audioFile = QStringLiteral("/music/%1.mp3").arg(number);
    track.trackNumber = number;
    return track;
}
