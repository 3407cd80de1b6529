#include "io/CsvReader.h"
#include "io/CsvWriter.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>
#include <QtTest>

using Records = QList<QStringList>;

// The CSV reader over real Discogs exports and over the byte sequences that break readers.
class TestCsvReader : public QObject
{
    Q_OBJECT

private slots:
    void sharedExportsReadAsExpected();
    void records_data();
    void records();
    void badInputStopsWithTheLine_data();
    void badInputStopsWithTheLine();
    void hugeFieldIsRefusedInBoundedMemory();
    void writerOutputReadsBack();
};

namespace
{

struct ReadResult {
    Records records;
    CsvReader::Status last = CsvReader::Status::End;
    QString error;
};

// Reads to the end, collecting malformed records as a single "!malformed" field.
ReadResult readAll(QIODevice* device, qint64 maxRecordBytes = CsvReader::DefaultMaxRecordBytes)
{
    CsvReader reader(device, maxRecordBytes);
    ReadResult result;
    QStringList fields;
    for (;;) {
        result.last = reader.readRecord(&fields);
        if (result.last == CsvReader::Status::Record)
            result.records << fields;
        else if (result.last == CsvReader::Status::Malformed)
            result.records << QStringList{QStringLiteral("!malformed %1").arg(reader.errorLine())};
        else
            break;
    }
    result.error = reader.errorText();
    return result;
}

ReadResult readBytes(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readAll(&buffer);
}

QString dataPath(const QString& name)
{
    return QStringLiteral(TUNVALE_IO_TESTDATA "/") + name;
}

} // namespace

void TestCsvReader::sharedExportsReadAsExpected()
{
    QFile json(dataPath(QStringLiteral("expected.json")));
    QVERIFY(json.open(QIODevice::ReadOnly));
    const QJsonObject files =
        QJsonDocument::fromJson(json.readAll())[QLatin1String("files")].toObject();
    QCOMPARE(files.size(), 4);
    for (auto file = files.begin(); file != files.end(); ++file) {
        const QJsonObject expected = file.value().toObject();
        QFile csv(dataPath(file.key()));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const ReadResult result = readAll(&csv);
        QCOMPARE(result.last, CsvReader::Status::End);
        QCOMPARE(result.records.size() - 1, expected[QLatin1String("row_count")].toInt());
        QCOMPARE(QJsonArray::fromStringList(result.records.first()),
                 expected[QLatin1String("header")].toArray());
        for (const QJsonValue row : expected[QLatin1String("rows")].toArray()) {
            const int index = row[QLatin1String("row")].toInt();
            QCOMPARE(QJsonArray::fromStringList(result.records.at(index)),
                     row[QLatin1String("values")].toArray());
        }
    }
}

void TestCsvReader::records_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Records>("expected");
    QTest::newRow("empty file") << QByteArray() << Records{};
    QTest::newRow("CRLF, LF and no final break")
        << QByteArray("a,b\r\nc,d\ne,f") << Records{{"a", "b"}, {"c", "d"}, {"e", "f"}};
    QTest::newRow("byte-order mark skipped") << QByteArray("\xEF\xBB\xBF"
                                                           "Artist\r\n")
                                             << Records{{"Artist"}};
    QTest::newRow("quoted comma, doubled quote, inch mark")
        << QByteArray("\"a,b\",\"12\"\"\",\"\"\"x\"\"\"\n") << Records{{"a,b", "12\"", "\"x\""}};
    QTest::newRow("line breaks inside quotes kept")
        << QByteArray("\"one\r\ntwo\nthree\",x\r\n") << Records{{"one\r\ntwo\nthree", "x"}};
    QTest::newRow("empty fields and blanks kept")
        << QByteArray(",, a ,\"\"\n") << Records{{"", "", " a ", ""}};
    QTest::newRow("quote inside an unquoted field kept")
        << QByteArray("12\",x\n") << Records{{"12\"", "x"}};
    QTest::newRow("CR alone ends a record") << QByteArray("a\rb,c\n") << Records{{"a"}, {"b", "c"}};
    QTest::newRow("CR line ends throughout, quoted breaks kept")
        << QByteArray("h,i\r\"x\ry\",z\r\"q\"w\rlast,1\r")
        << Records{{"h", "i"}, {"x\ry", "z"}, {"!malformed 4"}, {"last", "1"}};
    QTest::newRow("text after a closing quote skips that line only")
        << QByteArray("h\n\"a\"b,c\nd\n") << Records{{"h"}, {"!malformed 2"}, {"d"}};
    QTest::newRow("UTF-8 letters") << QByteArray("草木萌動,Déjà Vu,ミラクル\n")
                                   << Records{{"草木萌動", "Déjà Vu", "ミラクル"}};
}

void TestCsvReader::records()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Records, expected);
    const ReadResult result = readBytes(bytes);
    QCOMPARE(result.last, CsvReader::Status::End);
    QCOMPARE(result.records, expected);
}

void TestCsvReader::badInputStopsWithTheLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::newRow("NUL byte") << QByteArray("a\nb\0c\n", 6)
                              << "line 2: the file holds a NUL byte; it is no text file";
    const QString notUtf8 = QStringLiteral(
        "line %1: the text is not UTF-8 (save the file as UTF-8 and import it again)");
    QTest::newRow("Latin-1 letter") << QByteArray("a\nb\nD\xE9j\xE0\n") << notUtf8.arg(3);
    QTest::newRow("bad byte on the second line of a quoted field")
        << QByteArray("a\n\"x\n\xFF\"\n") << notUtf8.arg(3);
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF\n") << notUtf8.arg(1);
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80\n") << notUtf8.arg(1);
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80\n") << notUtf8.arg(1);
    QTest::newRow("cut sequence at the end") << QByteArray("ok\n\xE3\x81") << notUtf8.arg(2);
    QTest::newRow("line counted across CR line ends")
        << QByteArray("a\r\"b\rc\",d\r\xE9\r") << notUtf8.arg(4);
    QTest::newRow("unterminated quote at the end")
        << QByteArray("a\n\"b\nc\n")
        << "line 2: a quoted field that begins here is not closed at the end of the file";
}

void TestCsvReader::badInputStopsWithTheLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const ReadResult result = readBytes(bytes);
    QCOMPARE(result.last, CsvReader::Status::Failed);
    QCOMPARE(result.error, error);
}

// A 50 MB field is refused once the record passes the cap, without being held whole.
void TestCsvReader::hugeFieldIsRefusedInBoundedMemory()
{
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write("Artist,Title\nx,\"");
    const QByteArray chunk(1024 * 1024, 'a');
    for (int i = 0; i < 50; ++i)
        file.write(chunk);
    file.write("\"\n");
    QVERIFY(file.seek(0));
    CsvReader reader(&file);
    QStringList fields;
    QCOMPARE(reader.readRecord(&fields), CsvReader::Status::Record);
    QCOMPARE(reader.readRecord(&fields), CsvReader::Status::Failed);
    QCOMPARE(reader.errorText(), QStringLiteral("line 2: a record is longer than %1 bytes")
                                     .arg(CsvReader::DefaultMaxRecordBytes));
    QVERIFY(reader.bytesRead() <= 14 + CsvReader::DefaultMaxRecordBytes);
}

void TestCsvReader::writerOutputReadsBack()
{
    const Records records{{"plain", " blanks ", "a,b", "12\"", "two\r\nlines", ""},
                          {"草木萌動", "=1+2", "\"", "x"}};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CsvWriter writer(&buffer);
    for (const QStringList& record : records)
        QVERIFY(writer.writeRecord(record));
    QVERIFY(buffer.data().startsWith("\xEF\xBB\xBF"
                                     "plain,\" blanks \",\"a,b\",\"12\"\"\","));
    QCOMPARE(readBytes(buffer.data()).records, records);
}

QTEST_GUILESS_MAIN(TestCsvReader)
#include "TestCsvReader.moc"
