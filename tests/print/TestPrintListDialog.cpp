#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "db/TransactionScope.h"
#include "print/CheckListCtrl.h"
#include "print/PrintListDialog.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/EventLoopWait.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/PrintDialogs.h"
#include "views/CVastryDoc.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPdfDocument>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QWebEngineView>
#include <QtTest>
#include <algorithm>
#include <csignal>

// The print and export dialog on the demo catalogue, worked from the keyboard: what it writes
// into the list document, prints and saves.
class TestPrintListDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pageFollowsTheChoices_data();
    void pageFollowsTheChoices();
    void printingTwicePrintsTheSecondChoice();
    void deadPageProcessStopsPrintingUntilThePreviewReturns();
    void quickChangesRebuildThePreviewOnce();
    void exportSavesTheDocument_data();
    void exportSavesTheDocument();
    void everyControlHasAnAccessibleName();
    void aLongListPreviewsItsStart();
    void theWholeListPrintsPageByPage_data();
    void theWholeListPrintsPageByPage();
    void printedCellsAreTheDocumentsCells();
    void anUnfinishedPrintLeavesTheFile_data();
    void anUnfinishedPrintLeavesTheFile();

private:
    std::unique_ptr<PrintListDialog> open(int mode);
    void run(PrintListDialog* dialog, const QString& step);
    static void pressMnemonic(QWidget* dialog, Qt::Key key);
    static QStringList captions(const QString& page);
    static QString pdfText(const QString& path);
    QByteArray saveListAs(const QString& name);
    // Adds `count` albums titled "Bulk 0000" onwards, as one change; their titles.
    QStringList addAlbums(int count);
    static QStringList pdfPages(const QString& path);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<CVastryDoc> m_document;
};

void TestPrintListDialog::init()
{
    m_files = std::make_unique<TestCatalog>();
    AppSettings::useFolder(m_files->filePath(QStringLiteral("settings")));
    AppPaths::setPageDirectory(m_files->filePath(QStringLiteral("pages")));
    AppPaths::setProgramDirectory(TestCatalog::programDirectory());
    m_settings = std::make_unique<AppSettings>();
    m_document = std::make_unique<CVastryDoc>(*m_settings);
    QVERIFY(m_document->openCatalog(m_files->copyOfDemo()));
}

void TestPrintListDialog::cleanup()
{
    m_document.reset();
    m_settings.reset();
    m_files.reset();
}

std::unique_ptr<PrintListDialog> TestPrintListDialog::open(int mode)
{
    auto dialog = std::make_unique<PrintListDialog>(*m_document, mode);
    QSignalSpy shown(dialog.get(), &PrintListDialog::previewShown);
    dialog->show();
    if (!shown.wait(15000))
        return nullptr;
    return dialog;
}

void TestPrintListDialog::pressMnemonic(QWidget* dialog, Qt::Key key)
{
    QTest::keyClick(dialog, key, Qt::AltModifier);
    // The button is held down and clicked a moment later, as a visible press.
    const QList<QAbstractButton*> buttons = dialog->findChildren<QAbstractButton*>();
    QVERIFY(waitInEventLoop([&buttons] {
        return std::none_of(buttons.begin(), buttons.end(),
                            [](const QAbstractButton* button) { return button->isDown(); });
    }));
}

// One step as a user takes it: "Caption" selects that row, "space" ticks or unticks it,
// "up" and "down" move it, "width N" sets its width, "grid" switches the grid lines.
void TestPrintListDialog::run(PrintListDialog* dialog, const QString& step)
{
    auto* list = dialog->findChild<CheckListCtrl*>();
    auto* width = dialog->findChild<QLineEdit*>(QStringLiteral("width"));
    if (step == QLatin1String("space")) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Space);
    } else if (step == QLatin1String("up") || step == QLatin1String("down")) {
        pressMnemonic(dialog, step == QLatin1String("up") ? Qt::Key_U : Qt::Key_D);
    } else if (step.startsWith(QLatin1String("width "))) {
        width->setFocus();
        width->clear();
        QTest::keyClicks(width, step.mid(6));
        QTest::keyClick(width, Qt::Key_Return);
    } else if (step == QLatin1String("grid")) {
        auto* grid = dialog->findChild<QCheckBox*>(QStringLiteral("showGridlines"));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Space);
    } else {
        const QList<QTreeWidgetItem*> found = list->findItems(step, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(step));
        list->selectRow(list->indexOfTopLevelItem(found.first()));
    }
}

QStringList TestPrintListDialog::captions(const QString& page)
{
    static const QRegularExpression caption(QStringLiteral("<B>([^<]*)</B>"));
    QStringList found;
    for (auto it = caption.globalMatch(page); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

QString TestPrintListDialog::pdfText(const QString& path)
{
    QPdfDocument pdf;
    if (pdf.load(path) != QPdfDocument::Error::None)
        return QStringLiteral("unreadable");
    QString text;
    for (int page = 0; page < pdf.pageCount(); ++page)
        text += pdf.getAllText(page).text();
    return text;
}

void TestPrintListDialog::pageFollowsTheChoices_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("rewritten"); // by the last step
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("contains");
    const QStringList standard = {"Artist", "Title", "Record Year"};
    QTest::newRow("opened: the list's shown columns") << QStringList() << true << standard << "";
    QTest::newRow("an unticked column is left out")
        << QStringList{"Artist", "space"} << true << QStringList{"Title", "Record Year"} << "";
    QTest::newRow("a ticked column joins in list order")
        << QStringList{"Genre", "space"} << true
        << QStringList{"Artist", "Title", "Record Year", "Genre"} << "";
    QTest::newRow("moving an unticked row leaves the page")
        << QStringList{"Genre", "up"} << false << standard << "";
    QTest::newRow("moving a ticked row rewrites it")
        << QStringList{"Title", "up"} << true << QStringList{"Title", "Artist", "Record Year"}
        << "";
    QTest::newRow("the first row cannot move up")
        << QStringList{"Artist", "up"} << false << standard << "";
    QTest::newRow("the last row cannot move down")
        << QStringList{"Barcode", "space", "down"} << false
        << QStringList{"Artist", "Title", "Record Year", "Barcode"} << "";
    QTest::newRow("width 0 as given") << QStringList{"Title", "width 0"} << true << standard
                                      << "<TD width=\"0\" bgcolor=\"#e0e0e0\"><B>Title</B>";
    QTest::newRow("negative width as given")
        << QStringList{"Title", "width -20"} << true << standard
        << "<TD width=\"-20\" bgcolor=\"#e0e0e0\"><B>Title</B>";
    QTest::newRow("grid lines") << QStringList{"grid"} << true << standard << "border=\"1\"";
}

void TestPrintListDialog::pageFollowsTheChoices()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, rewritten);
    QFETCH(QStringList, shown);
    QFETCH(QString, contains);
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Print);
    QVERIFY(dialog);
    const QString page = PrintListDialog::documentPath();
    for (int i = 0; i < steps.size(); ++i) {
        if (i == steps.size() - 1) {
            // What the earlier steps asked for is written first.
            LOOP_VERIFY(!dialog->rebuildPending());
            QFile::remove(page);
        }
        run(dialog.get(), steps[i]);
    }
    LOOP_VERIFY(!dialog->rebuildPending());
    QCOMPARE(QFile::exists(page), rewritten);
    if (!rewritten)
        return;
    const QString text = QString::fromUtf8(TestCatalog::readBytes(page));
    QCOMPARE(captions(text), shown);
    QVERIFY(text.contains(contains));
    QVERIFY(text.contains(QStringLiteral("Reels &amp; Rashers")));
    // What is chosen here stays here.
    QCOMPARE(m_document->columns().shownInDisplayOrder().size(), 3);
}

// Changes in a quick row (ticks, a width) rebuild the preview once, after the pause.
void TestPrintListDialog::quickChangesRebuildThePreviewOnce()
{
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Print);
    QVERIFY(dialog);
    QSignalSpy shown(dialog.get(), &PrintListDialog::previewShown);
    for (const char* step : {"Genre", "space", "Label Number", "space", "width 120", "grid"})
        run(dialog.get(), QLatin1String(step));
    QVERIFY(dialog->rebuildPending());
    QVERIFY(shown.wait(20000));
    QCOMPARE(shown.size(), 1);
    QVERIFY(!dialog->rebuildPending());
    const QString text = QString::fromUtf8(TestCatalog::readBytes(PrintListDialog::documentPath()));
    QCOMPARE(captions(text),
             (QStringList{"Artist", "Title", "Record Year", "Genre", "Label Number"}));
}

// The page process killed as the system kills one that runs out of memory: the dialog says so,
// Print and Print Preview wait (printing a dead page takes the program down), and a rebuilt
// preview brings them back.
void TestPrintListDialog::deadPageProcessStopsPrintingUntilThePreviewReturns()
{
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Print);
    QVERIFY(dialog);
    auto* print = dialog->findChild<QPushButton*>(QStringLiteral("print"));
    auto* preview = dialog->findChild<QPushButton*>(QStringLiteral("printPreview"));
    const qint64 pid = dialog->preview()->page()->renderProcessPid();
    QVERIFY(pid > 0);
    QVERIFY(::kill(pid_t(pid), SIGKILL) == 0);
    LOOP_VERIFY_WITH_TIMEOUT(!dialog->previewNotice().isEmpty(), 20000);
    QVERIFY(dialog->previewNotice().startsWith(QStringLiteral("The preview could not be shown: ")));
    QVERIFY(!print->isEnabled());
    QVERIFY(!preview->isEnabled());
    QVERIFY(unnamedControls(dialog.get()).isEmpty());

    QSignalSpy shown(dialog.get(), &PrintListDialog::previewShown);
    run(dialog.get(), QStringLiteral("grid"));
    QVERIFY(shown.wait(20000));
    LOOP_VERIFY_WITH_TIMEOUT(dialog->previewNotice().isEmpty(), 20000);
    QVERIFY(print->isEnabled());
    QVERIFY(preview->isEnabled());
    const QString pdf = m_files->filePath(QStringLiteral("after.pdf"));
    PrintDialogs::setNextPrintTarget(pdf);
    pressMnemonic(dialog.get(), Qt::Key_P);
    QVERIFY(pdfText(pdf).contains(QStringLiteral("Record Year")));
}

// Each print reads the page afresh, so a change just made is what comes out, on the pages
// set up before.
void TestPrintListDialog::printingTwicePrintsTheSecondChoice()
{
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Print);
    QVERIFY(dialog);
    const QString first = m_files->filePath(QStringLiteral("first.pdf"));
    const QString second = m_files->filePath(QStringLiteral("second.pdf"));
    PrintDialogs::setNextPrintTarget(first);
    pressMnemonic(dialog.get(), Qt::Key_P);
    const QString preview = m_files->filePath(QStringLiteral("preview.pdf"));
    PrintDialogs::setNextPreviewTarget(preview);
    pressMnemonic(dialog.get(), Qt::Key_W);
    QVERIFY(pdfText(preview).contains(QStringLiteral("Record Year")));
    for (const char* step : {"Title", "space", "Label Number", "space"})
        run(dialog.get(), QLatin1String(step));
    PrintDialogs::setNextPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10)));
    pressMnemonic(dialog.get(), Qt::Key_A);
    PrintDialogs::setNextPrintTarget(second);
    // Pressed at once, while the changed page may still be loading.
    auto* print = dialog->findChild<QPushButton*>(QStringLiteral("print"));
    run(dialog.get(), QStringLiteral("Genre"));
    run(dialog.get(), QStringLiteral("space"));
    print->setFocus();
    QTest::keyClick(print, Qt::Key_Space);

    const QString firstText = pdfText(first);
    QVERIFY2(firstText.contains(QStringLiteral("Title")),
             qPrintable(QString::number(QFileInfo(first).size()) + firstText.left(200)));
    QVERIFY(!firstText.contains(QStringLiteral("Label Number")));
    const QString secondText = pdfText(second);
    QVERIFY2(secondText.contains(QStringLiteral("Label Number")), qPrintable(secondText.left(200)));
    QVERIFY(!secondText.contains(QStringLiteral("Title")));
    QVERIFY(secondText.contains(QStringLiteral("Genre")));
    QVERIFY2(secondText.contains(QStringLiteral("Étoiles")), qPrintable(secondText.left(300)));
    QPdfDocument landscape;
    landscape.load(second);
    QVERIFY(landscape.pagePointSize(0).width() > landscape.pagePointSize(0).height());
}

void TestPrintListDialog::exportSavesTheDocument_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("saved");
    QTest::newRow("a new file") << "list.html" << true;
    QTest::newRow("over an older file") << "older.html" << true;
    QTest::newRow("the open catalogue") << "demo.muf" << false;
    QTest::newRow("a folder") << "pages" << false;
    QTest::newRow("in a missing folder") << "missing/list.html" << false;
}

// Save As writes the chosen document, UTF-8 with a byte-order mark; where it must not or
// cannot write, it says so and leaves what was there.
void TestPrintListDialog::exportSavesTheDocument()
{
    QFETCH(QString, target);
    QFETCH(bool, saved);
    const QString path = m_files->filePath(target);
    QFile older(m_files->filePath(QStringLiteral("older.html")));
    QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
    older.close();
    const QByteArray before = QFileInfo(path).isFile() ? TestCatalog::readBytes(path) : "";
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Export);
    QVERIFY(dialog);
    QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("printPreview"))->isVisible());
    QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("pageSetup"))->isVisible());
    auto* save = dialog->findChild<QPushButton*>(QStringLiteral("print"));
    QCOMPARE(save->text(), QStringLiteral("&Save As"));
    ReportRecorder reports;
    FileDialog::setNextFileName(path);
    save->setFocus();
    QTest::keyClick(save, Qt::Key_Space);
    QVERIFY(!FileDialog::hasNextFileName());
    if (saved) {
        const QByteArray bytes = TestCatalog::readBytes(path);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF<HTML>"));
        QVERIFY(QString::fromUtf8(bytes).contains(QStringLiteral("Les Étoiles Filantes")));
        QCOMPARE(reports.count(), 0);
    } else {
        QCOMPARE(reports.count(), 1);
        QVERIFY(reports.lastText().contains(path));
        QCOMPARE(QFileInfo(path).isFile() ? TestCatalog::readBytes(path) : QByteArray(), before);
    }
}

void TestPrintListDialog::everyControlHasAnAccessibleName()
{
    for (int mode : {int(PrintListDialog::Print), int(PrintListDialog::Export)}) {
        std::unique_ptr<PrintListDialog> dialog = open(mode);
        QVERIFY(dialog);
        QCOMPARE(unnamedControls(dialog.get()), QStringList());
    }
}

QByteArray TestPrintListDialog::saveListAs(const QString& name)
{
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Export);
    if (!dialog)
        return {};
    const QString path = m_files->filePath(name);
    FileDialog::setNextFileName(path);
    auto* save = dialog->findChild<QPushButton*>(QStringLiteral("print"));
    save->setFocus();
    QTest::keyClick(save, Qt::Key_Space);
    return TestCatalog::readBytes(path);
}

QStringList TestPrintListDialog::addAlbums(int count)
{
    QStringList titles;
    TransactionScope change(m_document->database());
    for (int i = 0; i < count; ++i) {
        AlbumRecord record;
        record.title = QStringLiteral("Bulk %1").arg(i, 4, 10, QLatin1Char('0'));
        if (m_document->albumTable().Add(m_document->database(), record) <= 0)
            return {};
        titles << record.title;
    }
    return change.commit() ? titles : QStringList();
}

// The text of each page, without the spaces and line breaks that wrapping puts where it likes.
QStringList TestPrintListDialog::pdfPages(const QString& path)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QPdfDocument pdf;
    QStringList pages;
    if (pdf.load(path) != QPdfDocument::Error::None)
        return pages;
    for (int page = 0; page < pdf.pageCount(); ++page)
        pages << pdf.getAllText(page).text().remove(space);
    return pages;
}

// The preview lays out only the first rows of a long list and says so; a list within the limit
// previews as the very document Save As writes, and Save As writes every album.
void TestPrintListDialog::aLongListPreviewsItsStart()
{
    const QByteArray whole = saveListAs(QStringLiteral("short.html"));
    QCOMPARE(TestCatalog::readBytes(PrintListDialog::documentPath()), whole);

    const int limit = PrintListDialog::PreviewRowLimit;
    const QStringList titles = addAlbums(limit + 1);
    QVERIFY(!titles.isEmpty());
    const int total = m_document->albumTable().Count(m_document->database(), false);
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Print);
    QVERIFY(dialog);
    const QString preview =
        QString::fromUtf8(TestCatalog::readBytes(PrintListDialog::documentPath()));
    QCOMPARE(preview.count(QStringLiteral("<TR>")), limit + 1);
    QVERIFY(preview.contains(QStringLiteral("Showing the first %1 of %2 albums; Print, Print "
                                            "Preview and Save As use all of them")
                                 .arg(limit)
                                 .arg(total)));
    const QString saved = QString::fromUtf8(saveListAs(QStringLiteral("long.html")));
    QVERIFY(!saved.contains(QStringLiteral("Showing the first")));
    for (const QString& title : titles)
        QVERIFY2(saved.contains(title), qPrintable(title));
}

void TestPrintListDialog::theWholeListPrintsPageByPage_data()
{
    QTest::addColumn<Qt::Key>("command");
    QTest::newRow("Print") << Qt::Key_P;
    QTest::newRow("Print Preview") << Qt::Key_W;
}

// More albums than the preview holds and than one page holds: every album comes out, each page
// starts with the captions of the chosen columns in their order, and nothing is left beside the
// printed file.
void TestPrintListDialog::theWholeListPrintsPageByPage()
{
    QFETCH(Qt::Key, command);
    const QStringList titles = addAlbums(PrintListDialog::PreviewRowLimit + 100);
    QVERIFY(!titles.isEmpty());
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Print);
    QVERIFY(dialog);
    for (const char* step : {"Title", "up", "Genre", "space"})
        run(dialog.get(), QLatin1String(step));
    const QString pdf = m_files->filePath(QStringLiteral("long.pdf"));
    if (command == Qt::Key_P)
        PrintDialogs::setNextPrintTarget(pdf);
    else
        PrintDialogs::setNextPreviewTarget(pdf);
    pressMnemonic(dialog.get(), command);

    const QStringList pages = pdfPages(pdf);
    QVERIFY2(pages.size() > 2, qPrintable(QString::number(pages.size())));
    for (const QString& page : pages)
        QVERIFY2(page.startsWith(QStringLiteral("TitleArtistRecordYearGenre")), qPrintable(page));
    const QString printed = pages.join(QString());
    for (const QString& title : titles)
        QVERIFY2(printed.contains(QString(title).remove(QLatin1Char(' '))), qPrintable(title));
    QCOMPARE(QDir(m_files->folder()).entryList({QStringLiteral("long.pdf*")}, QDir::Files),
             QStringList{"long.pdf"});
}

// Every column, with the grid: each cell text of the list document (dates, amounts, names with
// characters the document escapes) is on the printed pages, row after row in the list's order.
void TestPrintListDialog::printedCellsAreTheDocumentsCells()
{
    for (int i = 0; i < m_document->columns().size(); ++i)
        m_document->columns()[i].shown = 1;
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Print);
    QVERIFY(dialog);
    run(dialog.get(), QStringLiteral("grid"));
    LOOP_VERIFY(!dialog->rebuildPending());
    const QString pdf = m_files->filePath(QStringLiteral("every.pdf"));
    PrintDialogs::setNextPrintTarget(pdf);
    pressMnemonic(dialog.get(), Qt::Key_P);
    const QString printed = pdfPages(pdf).join(QString());
    QVERIFY(!printed.isEmpty());

    const QString page = QString::fromUtf8(TestCatalog::readBytes(PrintListDialog::documentPath()));
    static const QRegularExpression cell(QStringLiteral("<TD width=\"-?\\d+\">([^<]*)</TD>"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    int at = 0;
    int cells = 0;
    for (auto it = cell.globalMatch(page); it.hasNext(); ++cells) {
        QString text = it.next().captured(1);
        if (text == QLatin1String("&nbsp;"))
            continue;
        text.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&amp;"), QLatin1String("&"))
            .remove(space);
        const int found = printed.indexOf(text, at);
        QVERIFY2(found >= 0, qPrintable(text));
        at = found + text.size();
    }
    QVERIFY(cells > 36);
    QVERIFY(printed.contains(QStringLiteral("Reels&Rashers")));
}

void TestPrintListDialog::anUnfinishedPrintLeavesTheFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancelled") << "older.pdf" << true;
    QTest::newRow("cancelled, a new file") << "new.pdf" << true;
    QTest::newRow("into the open catalogue") << "demo.muf" << false;
}

// A print cancelled from its progress dialog, or refused, leaves the chosen file as it was
// (or absent) and no part of a print beside it.
void TestPrintListDialog::anUnfinishedPrintLeavesTheFile()
{
    QFETCH(QString, target);
    QFETCH(bool, cancel);
    QVERIFY(!addAlbums(200).isEmpty());
    const QString path = m_files->filePath(target);
    QFile older(m_files->filePath(QStringLiteral("older.pdf")));
    QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
    older.close();
    const QByteArray before = QFile::exists(path) ? TestCatalog::readBytes(path) : "";
    const QStringList filesBefore = QDir(m_files->folder()).entryList(QDir::Files);
    std::unique_ptr<PrintListDialog> dialog = open(PrintListDialog::Print);
    QVERIFY(dialog);

    QTimer escape;
    bool cancelled = false;
    connect(&escape, &QTimer::timeout, this, [&dialog, &cancelled] {
        if (auto* progress = dialog->findChild<QProgressDialog*>()) {
            QTest::keyClick(progress, Qt::Key_Escape);
            cancelled = progress->wasCanceled();
        }
    });
    if (cancel)
        escape.start(0);
    else
        MessageBox::setNextAnswer(QMessageBox::Ok);
    MessageBox::history().clear();
    PrintDialogs::setNextPrintTarget(path);
    pressMnemonic(dialog.get(), Qt::Key_P);
    escape.stop();

    QCOMPARE(cancelled, cancel);
    QCOMPARE(QFile::exists(path) ? TestCatalog::readBytes(path) : QByteArray(), before);
    QCOMPARE(QDir(m_files->folder()).entryList(QDir::Files), filesBefore);
    QCOMPARE(MessageBox::history().size(), cancel ? 0 : 1);
    if (!cancel)
        QVERIFY(MessageBox::history().last().text.contains(QStringLiteral("the open catalogue")));
}

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestPrintListDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestPrintListDialog.moc"
