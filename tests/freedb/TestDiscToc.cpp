#include "freedb/CdDrives.h"
#include "freedb/DiscImage.h"
#include "freedb/DiscToc.h"
#include "support/TestCatalog.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <cdio/logging.h>

using Track = DiscImage::Track;

class TestDiscToc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void discIdOfTheTwoTrackExample();
    void discIdsOfRealDiscs_data();
    void discIdsOfRealDiscs();
    void playingTimeCountsFromTheFirstTrack();
    void trackAtZeroSecondsAddsNothing();
    void checksumWrapsModulo255_data();
    void checksumWrapsModulo255();

    void readsACueImage();
    void readsACdrdaoTocImage();
    void readsADiscWhoseFirstTrackStartsAfterAMinute();
    void mixedDiscIsReadWhole_data();
    void mixedDiscIsReadWhole();
    void dataOnlyDiscFailsWithTheMessage();
    void whatIsNoDiscFailsWithTheMessage_data();
    void whatIsNoDiscFailsWithTheMessage();
    void failedReadLeavesNoTable();
    void libcdioErrorsDoNotEndTheProgram();
    void readDiscIdStoresTheId();
    void driveListHoldsEachDriveOnce();

private:
    QTemporaryDir m_folder;
};

void TestDiscToc::initTestCase()
{
    QVERIFY(m_folder.isValid());
}

void TestDiscToc::discIdOfTheTwoTrackExample()
{
    // 00:02:00 and 03:20:00, lead-out 10:30:00.
    const DiscToc toc = DiscToc::fromFrameOffsets({150, 15000}, 630 * 75);
    QCOMPARE(toc.trackCount(), 2);
    QCOMPARE(toc.trackStart(1), (TocEntry{3, 20, 0}));
    QCOMPARE(toc.leadOut(), (TocEntry{10, 30, 0}));
    QCOMPARE(toc.DiscId(), 0x04027402u);
    QCOMPARE(QString::asprintf("%08x", toc.DiscId()), QStringLiteral("04027402"));
}

void TestDiscToc::discIdsOfRealDiscs_data()
{
    // Offsets and disc lengths from published entries; the ID each entry was filed under must
    // come out of them.
    QTest::addColumn<QVector<int>>("starts");
    QTest::addColumn<int>("lengthSeconds");
    QTest::addColumn<uint>("discId");
    QTest::newRow("940aac0d, 13 tracks (freedb 2020)")
        << QVector<int>{150,    15239,  29625,  45763,  61420,  75862, 91642,
                        108918, 123698, 139895, 153589, 169239, 188495}
        << 2734 << 0x940aac0du;
    QTest::newRow("d50dd30f, 15 tracks")
        << QVector<int>{150,    21052,  43715,  58057,  71430,  92865,  117600, 131987,
                        150625, 163292, 181490, 195685, 210197, 233230, 249257}
        << 3541 << 0xd50dd30fu;
    QTest::newRow("7908090a, 1997 entry")
        << QVector<int>{150, 12860, 23460, 37067, 54250, 70892, 90637, 107507, 124742, 139870}
        << 2059 << 0x7908090au;
    QTest::newRow("8309a80a, data track counted")
        << QVector<int>{150, 15094, 33264, 56071, 65515, 80900, 104437, 129474, 143140, 174593}
        << 2474 << 0x8309a80au;
    QTest::newRow("38043805, first track at 182")
        << QVector<int>{182, 20525, 28040, 45292, 65020} << 1082 << 0x38043805u;
}

void TestDiscToc::discIdsOfRealDiscs()
{
    QFETCH(QVector<int>, starts);
    QFETCH(int, lengthSeconds);
    QFETCH(uint, discId);
    const DiscToc toc = DiscToc::fromFrameOffsets(starts, lengthSeconds * 75);
    QCOMPARE(QString::number(toc.DiscId(), 16), QString::number(discId, 16));
}

void TestDiscToc::playingTimeCountsFromTheFirstTrack()
{
    // First track at 01:05:30 (65 whole seconds), lead-out at 04:00:00.
    const DiscToc toc = DiscToc::fromFrameOffsets({65 * 75 + 30}, 240 * 75);
    const std::uint32_t id = toc.DiscId();
    QCOMPARE((id >> 8) & 0xffffu, 240u - 65u);
    QCOMPARE(id >> 24, 6u + 5u);
    QCOMPARE(id & 0xffu, 1u);
}

void TestDiscToc::trackAtZeroSecondsAddsNothing()
{
    // Whole seconds 0 (frames dropped) and 11 (1 + 1).
    const DiscToc toc = DiscToc::fromFrameOffsets({74, 11 * 75}, 20 * 75);
    QCOMPARE(toc.DiscId() >> 24, 2u);
}

void TestDiscToc::checksumWrapsModulo255_data()
{
    QTest::addColumn<int>("tracksOf89Seconds");
    QTest::addColumn<int>("extraSeconds");
    QTest::addColumn<uint>("checksumByte");
    // 89 seconds add 8 + 9 = 17; fifteen of them make 255.
    QTest::newRow("254 stays") << 14 << 79 << 254u; // 238 + 7 + 9
    QTest::newRow("255 gives 0") << 15 << 0 << 0u;
    QTest::newRow("256 gives 1, not 0") << 15 << 1 << 1u;
}

void TestDiscToc::checksumWrapsModulo255()
{
    QFETCH(int, tracksOf89Seconds);
    QFETCH(int, extraSeconds);
    QFETCH(uint, checksumByte);
    QVector<int> starts(tracksOf89Seconds, 89 * 75);
    if (extraSeconds > 0)
        starts.append(extraSeconds * 75);
    const DiscToc toc = DiscToc::fromFrameOffsets(starts, 200 * 75);
    QCOMPARE(toc.DiscId() >> 24, checksumByte);
}

void TestDiscToc::readsACueImage()
{
    const QVector<Track> tracks{{3 * 75}, {4 * 75 + 10}, {2 * 75 + 40}};
    const QString cue = DiscImage::writeCue(m_folder.path(), QStringLiteral("three"), tracks);
    QVERIFY(!cue.isEmpty());
    ReportRecorder reports;
    DiscToc toc;
    QVERIFY(toc.ReadFromDrive(cue));
    QCOMPARE(reports.count(), 0);
    QCOMPARE(toc.trackCount(), 3);
    const QVector<int> starts = DiscImage::trackStarts(tracks);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(toc.trackStart(i).frameOffset(), starts[i]);
    QCOMPARE(toc.trackStart(0), (TocEntry{0, 2, 0}));
    QCOMPARE(toc.leadOut().frameOffset(), DiscImage::leadOut(tracks));
    QCOMPARE(toc.DiscId(), DiscToc::fromFrameOffsets(starts, DiscImage::leadOut(tracks)).DiscId());
    // The .bin is a hole, not nine seconds of written zeros.
    QVERIFY(QFileInfo(m_folder.filePath(QStringLiteral("three.bin"))).size() > 0);
}

void TestDiscToc::readsACdrdaoTocImage()
{
    const QVector<Track> tracks{{3 * 75}, {5 * 75}};
    const QString path = DiscImage::writeToc(m_folder.path(), QStringLiteral("cdrdao"), tracks);
    QVERIFY(!path.isEmpty());
    DiscToc toc;
    QVERIFY(toc.ReadFromDrive(path));
    QCOMPARE(toc.trackCount(), 2);
    QCOMPARE(toc.trackStart(0).frameOffset(), 150);
    QCOMPARE(toc.trackStart(1).frameOffset(), 150 + 3 * 75);
    QCOMPARE(toc.leadOut().frameOffset(), 150 + 8 * 75);
}

void TestDiscToc::readsADiscWhoseFirstTrackStartsAfterAMinute()
{
    const QVector<Track> tracks{{3 * 75}, {3 * 75}};
    const int pregap = 60 * 75 + 20;
    const QString cue =
        DiscImage::writeCue(m_folder.path(), QStringLiteral("late"), tracks, pregap);
    DiscToc toc;
    QVERIFY(toc.ReadFromDrive(cue));
    QCOMPARE(toc.trackCount(), 2);
    QCOMPARE(toc.trackStart(0), (TocEntry{1, 2, 20}));
    QCOMPARE(toc.leadOut().frameOffset(), DiscImage::leadOut(tracks, pregap));
    // Playing time: lead-out 01:08:20 minus first track 01:02:20 in whole seconds.
    QCOMPARE((toc.DiscId() >> 8) & 0xffffu, 68u - 62u);
}

void TestDiscToc::mixedDiscIsReadWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVector<Track>>("tracks");
    QTest::addColumn<bool>("cdrdao");
    QTest::newRow("audio then data (cue)")
        << QStringLiteral("audiodata") << QVector<Track>{{3 * 75}, {3 * 75}, {4 * 75, false}}
        << false;
    QTest::newRow("data then audio (cue)")
        << QStringLiteral("dataaudio") << QVector<Track>{{4 * 75, false}, {3 * 75}} << false;
    QTest::newRow("data then audio (toc)")
        << QStringLiteral("dataaudiotoc") << QVector<Track>{{4 * 75, false}, {3 * 75}} << true;
}

void TestDiscToc::mixedDiscIsReadWhole()
{
    QFETCH(QString, name);
    QFETCH(QVector<Track>, tracks);
    QFETCH(bool, cdrdao);
    const QString path = cdrdao ? DiscImage::writeToc(m_folder.path(), name, tracks)
                                : DiscImage::writeCue(m_folder.path(), name, tracks);
    ReportRecorder reports;
    DiscToc toc;
    std::uint32_t id = 0;
    QVERIFY(ReadDiscId(path, toc, id));
    QCOMPARE(reports.count(), 0);
    QCOMPARE(toc.trackCount(), tracks.size());
    QCOMPARE(toc.leadOut().frameOffset(), DiscImage::leadOut(tracks));
    QCOMPARE(id & 0xffu, uint(tracks.size()));
    QCOMPARE(id,
             DiscToc::fromFrameOffsets(DiscImage::trackStarts(tracks), DiscImage::leadOut(tracks))
                 .DiscId());
}

void TestDiscToc::dataOnlyDiscFailsWithTheMessage()
{
    const QString cue = DiscImage::writeCue(m_folder.path(), QStringLiteral("dataonly"),
                                            {{5 * 75, false}, {5 * 75, false}});
    ReportRecorder reports;
    DiscToc toc;
    std::uint32_t id = 0xdeadbeef;
    QVERIFY(!ReadDiscId(cue, toc, id));
    QCOMPARE(id, 0xdeadbeefu);
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.reports().first().caption, QStringLiteral("Error"));
    QCOMPARE(int(reports.reports().first().icon), int(ReportIcon::Stop));
    QCOMPARE(reports.lastText(),
             QStringLiteral("Unable to get the track information, please make sure that there "
                            "is a CD in drive %1 and then try again.")
                 .arg(cue));
}

void TestDiscToc::whatIsNoDiscFailsWithTheMessage_data()
{
    QTest::addColumn<QString>("drive");
    QTest::newRow("missing path") << m_folder.filePath(QStringLiteral("no-such-disc.cue"));
    QTest::newRow("device that is no CD drive") << QStringLiteral("/dev/null");
    QTest::newRow("plain text file") << m_folder.filePath(QStringLiteral("notes.txt"));
    // libcdio's default log ends the process on this one; it must come back as a failure.
    QTest::newRow("directory") << m_folder.path();
    QTest::newRow("cue whose bin is missing") << m_folder.filePath(QStringLiteral("nobin.cue"));
    QTest::newRow("empty drive name") << QString();
}

void TestDiscToc::whatIsNoDiscFailsWithTheMessage()
{
    QFETCH(QString, drive);
    {
        QFile notes(m_folder.filePath(QStringLiteral("notes.txt")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a disc\n");
        QFile cue(m_folder.filePath(QStringLiteral("nobin.cue")));
        QVERIFY(cue.open(QIODevice::WriteOnly));
        cue.write("FILE \"nobin.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    }
    ReportRecorder reports;
    DiscToc toc;
    std::uint32_t id = 0;
    QVERIFY(!ReadDiscId(drive, toc, id));
    QCOMPARE(reports.count(), 1);
    QVERIFY2(reports.lastText().contains(QStringLiteral("CD in drive %1 and").arg(drive)),
             qPrintable(reports.lastText()));
}

void TestDiscToc::failedReadLeavesNoTable()
{
    const QString cue =
        DiscImage::writeCue(m_folder.path(), QStringLiteral("good"), {{3 * 75}, {3 * 75}});
    DiscToc toc;
    QVERIFY(toc.ReadFromDrive(cue));
    QCOMPARE(toc.trackCount(), 2);
    QVERIFY(!toc.ReadFromDrive(m_folder.filePath(QStringLiteral("gone.cue"))));
    QVERIFY(toc.isEmpty());
    QCOMPARE(toc.trackCount(), 0);
}

void TestDiscToc::libcdioErrorsDoNotEndTheProgram()
{
    // libcdio's own handler calls exit() on an error; after the first read ours is in place,
    // and reading goes on as before.
    DiscToc toc;
    QVERIFY(!toc.ReadFromDrive(QStringLiteral("/dev/null")));
    cdio_log(CDIO_LOG_ERROR, "an error libcdio would end the process for");
    const QString cue =
        DiscImage::writeCue(m_folder.path(), QStringLiteral("after"), {{3 * 75}, {4 * 75}});
    QVERIFY(toc.ReadFromDrive(cue));
    QCOMPARE(toc.trackCount(), 2);
}

void TestDiscToc::readDiscIdStoresTheId()
{
    // 00:02:00, 00:05:00, lead-out 00:09:00: digits 2 + 5, 7 seconds, 2 tracks.
    const QString cue =
        DiscImage::writeCue(m_folder.path(), QStringLiteral("ids"), {{3 * 75}, {4 * 75}});
    ReportRecorder reports;
    DiscToc toc;
    std::uint32_t id = 0;
    QVERIFY(ReadDiscId(cue, toc, id));
    QCOMPARE(reports.count(), 0);
    QCOMPARE(id, 0x07000702u);
}

// Disc images stand in for drives: "/dev/cdrom" is a link to "/dev/sr0" on most machines.
void TestDiscToc::driveListHoldsEachDriveOnce()
{
    const QString first = DiscImage::writeCue(m_folder.path(), QStringLiteral("first"), {{150}});
    const QString second =
        DiscImage::writeToc(m_folder.path(), QStringLiteral("second"), {{150}, {300}});
    const QString link = m_folder.filePath(QStringLiteral("link-to-first.cue"));
    QVERIFY(QFile::link(first, link));
    const QStringList drives = distinctDrives({first, link, QString(), second, first});
    QCOMPARE(drives, QStringList({first, second}));
    for (const QString& drive : drives) {
        DiscToc toc;
        QVERIFY2(toc.ReadFromDrive(drive), qPrintable(drive));
    }
}

QTEST_GUILESS_MAIN(TestDiscToc)
#include "TestDiscToc.moc"
