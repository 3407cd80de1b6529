#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/CommandIds.h"
#include "find/FilterDialog.h"
#include "find/FindDialog.h"
#include "support/PlainTargets.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/MessageBox.h"
#include "views/AlbumListModel.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"
#include "views/CatalogReadTask.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

// The search and filter dialogs driven as a user would, on the demo catalogue: rows made in
// the filter dialog, joined in the search dialog, applied by the album list.
class TestFindDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rowsJoinIntoOneCondition_data();
    void rowsJoinIntoOneCondition();
    void editTextSurvivesAnotherKindOfField();
    void numberFieldRefusesText();
    void longNameListsComeFromTheWorker();
    void albumListShowsWhatWasFound_data();
    void albumListShowsWhatWasFound();
    void everyControlHasAnAccessibleName();

private:
    // Each entry "Item=value": the item chosen in the filter dialog and the value chosen,
    // typed or ("true") ticked there.
    static void addRows(FindDialog* dialog, const QStringList& rows);
    static void fillFilter(FilterDialog* dialog, const QString& row);
    static void chooseOr(FindDialog* dialog);

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<CVastryDoc> m_document;
};

void TestFindDialogs::init()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    MessageBox::history().clear();
    m_settings = std::make_unique<AppSettings>();
    m_document = std::make_unique<CVastryDoc>(*m_settings);
    QVERIFY(m_document->openCatalog(m_files->copyOfDemo()));
}

void TestFindDialogs::cleanup()
{
    CatalogReadTask::setBackgroundFrom(CatalogReadTask::BackgroundFrom);
    m_document.reset();
    m_settings.reset();
    m_files.reset();
}

void TestFindDialogs::fillFilter(FilterDialog* dialog, const QString& row)
{
    const QString item = row.section(QLatin1Char('='), 0, 0);
    const QString value = row.section(QLatin1Char('='), 1);
    auto* items = dialog->findChild<QComboBox*>(QStringLiteral("items"));
    items->setFocus();
    items->setCurrentIndex(items->findText(item));
    auto* values = dialog->findChild<QComboBox*>(QStringLiteral("values"));
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("valueEdit"));
    auto* check = dialog->findChild<QCheckBox*>(QStringLiteral("inCollection"));
    if (values->isVisible())
        values->setCurrentIndex(values->findText(value));
    if (edit->isVisible()) {
        edit->setFocus();
        edit->clear();
        // Typed one character at a time, so non-Latin letters come as a keyboard sends them.
        for (const QChar c : value)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    if (check->isVisible() && value == QLatin1String("true")) {
        check->setFocus();
        QTest::keyClick(check, Qt::Key_Space);
    }
    QTest::keyClick(dialog, Qt::Key_Return);
}

void TestFindDialogs::addRows(FindDialog* dialog, const QStringList& rows)
{
    for (const QString& row : rows) {
        ModalDialogDriver filter;
        filter.onNext<FilterDialog>([row](FilterDialog* d) { fillFilter(d, row); });
        // Alt+A is both "&Add" and "&AND", and only moves the focus between them: Add is
        // pressed with Space.
        auto* add = dialog->findChild<QPushButton*>(QStringLiteral("add"));
        add->setFocus();
        QTest::keyClick(add, Qt::Key_Space);
        QVERIFY(filter.acted());
    }
}

void TestFindDialogs::chooseOr(FindDialog* dialog)
{
    auto* anyOf = dialog->findChild<QRadioButton*>(QStringLiteral("or"));
    // Mnemonics answer in the active window, which the closed filter dialog handed back.
    dialog->activateWindow();
    LOOP_VERIFY(dialog->isActiveWindow());
    // A mnemonic clicks its button a moment later, as a visible press.
    QTest::keyClick(dialog, Qt::Key_O, Qt::AltModifier);
    LOOP_VERIFY(anyOf->isChecked());
}

void TestFindDialogs::rowsJoinIntoOneCondition_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("anyOf");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QStringList>("shown"); // the list's rows, "Field: Value"
    QTest::newRow("the column's caption shows")
        << QStringList{"Year=1998", "Value=6.0"} << false << "year = 1998 AND value = 6.0"
        << QStringList{"Record Year: 1998", "Current Value: 6.0"};
    QTest::newRow("three rows joined with OR")
        << QStringList{"Artist=O'Malley's Kitchen Band", "Year=1998", "In Collection=true"} << true
        << "artist_name = 'O''Malley''s Kitchen Band' OR year = 1998 OR incollection = TRUE"
        << QStringList{"Artist: O'Malley's Kitchen Band", "Record Year: 1998",
                       "In Collection: TRUE"};
    QTest::newRow("no field and empty values add nothing")
        << QStringList{"(Select Here...)=1998", "Title=", "Title=Nuit d'été", "In Collection=false"}
        << false << "title = 'Nuit d''été' AND incollection = FALSE"
        << QStringList{"Title: Nuit d'été", "In Collection: FALSE"};
    QTest::newRow("no rows") << QStringList() << false << "" << QStringList();
}

void TestFindDialogs::rowsJoinIntoOneCondition()
{
    QFETCH(QStringList, rows);
    QFETCH(bool, anyOf);
    QFETCH(QString, condition);
    QFETCH(QStringList, shown);
    FindDialog dialog(*m_document);
    QStringList listed;
    ModalDialogDriver driver;
    driver.onNext<FindDialog>([&](FindDialog* d) {
        addRows(d, rows);
        auto* list = d->findChild<QTreeWidget*>(QStringLiteral("criteria"));
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            listed << list->topLevelItem(i)->text(0) + ": " + list->topLevelItem(i)->text(1);
        if (anyOf)
            chooseOr(d);
        QTest::keyClick(d, Qt::Key_Return);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(listed, shown);
    QCOMPARE(dialog.condition(), condition);
}

void TestFindDialogs::editTextSurvivesAnotherKindOfField()
{
    FilterDialog dialog(*m_document);
    ModalDialogDriver driver;
    QString kept;
    bool dropDownShown = false;
    driver.onNext<FilterDialog>([&](FilterDialog* d) {
        auto* items = d->findChild<QComboBox*>(QStringLiteral("items"));
        auto* edit = d->findChild<QLineEdit*>(QStringLiteral("valueEdit"));
        items->setCurrentIndex(items->findText(QStringLiteral("Title")));
        QTest::keyClicks(edit, QStringLiteral("Amber"));
        items->setCurrentIndex(items->findText(QStringLiteral("Genre")));
        dropDownShown =
            !edit->isVisible() && d->findChild<QComboBox*>(QStringLiteral("values"))->isVisible();
        items->setCurrentIndex(items->findText(QStringLiteral("Label Number")));
        kept = edit->isVisible() ? edit->text() : QString();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(dropDownShown);
    QCOMPARE(kept, QStringLiteral("Amber"));
}

// A number field takes a number only: anything else is refused with a message, and the
// dialog stays open for the user to correct it.
void TestFindDialogs::numberFieldRefusesText()
{
    FilterDialog dialog(*m_document);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    bool stayedOpen = false;
    ModalDialogDriver driver;
    driver.onNext<FilterDialog>([&stayedOpen](FilterDialog* d) {
        fillFilter(d, QStringLiteral("Year=1998 OR 1=1"));
        stayedOpen = d->isVisible();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    dialog.exec();
    QVERIFY(stayedOpen);
    QCOMPARE(MessageBox::history().size(), 1);
    QCOMPARE(MessageBox::history().first().icon, QMessageBox::Warning);
    QVERIFY(MessageBox::history().first().text.contains(QStringLiteral("'1998 OR 1=1'")));
    QVERIFY(dialog.criterion().condition.isEmpty());
}

// Names read on the worker: the value box waits, disabled, then offers the names read here, in
// the same order; a field chosen while another's names are on their way is the one offered.
void TestFindDialogs::longNameListsComeFromTheWorker()
{
    const auto offered = [](FilterDialog& dialog, const QString& field) -> QStringList {
        auto* items = dialog.findChild<QComboBox*>(QStringLiteral("items"));
        items->setCurrentIndex(items->findText(field));
        auto* values = dialog.findChild<QComboBox*>(QStringLiteral("values"));
        if (!QTest::qWaitFor([values] { return values->isEnabled(); }, 10000))
            return {QStringLiteral("(names never came)")};
        QStringList names;
        for (int i = 0; i < values->count(); ++i)
            names << values->itemText(i);
        return names;
    };
    FilterDialog here(*m_document);
    const QStringList artists = offered(here, QStringLiteral("Artist"));
    const QStringList genres = offered(here, QStringLiteral("Genre"));
    QCOMPARE(artists.size(), 12);
    QVERIFY(!genres.isEmpty() && genres != artists);

    CatalogReadTask::setBackgroundFrom(0);
    FilterDialog dialog(*m_document);
    auto* items = dialog.findChild<QComboBox*>(QStringLiteral("items"));
    auto* values = dialog.findChild<QComboBox*>(QStringLiteral("values"));
    items->setCurrentIndex(items->findText(QStringLiteral("Artist")));
    QVERIFY(!values->isEnabled());
    QCOMPARE(values->count(), 0);
    QCOMPARE(offered(dialog, QStringLiteral("Artist")), artists);
    QCOMPARE(values->currentText(), artists.first());

    items->setCurrentIndex(items->findText(QStringLiteral("Title")));
    items->setCurrentIndex(items->findText(QStringLiteral("Artist")));
    QCOMPARE(offered(dialog, QStringLiteral("Genre")), genres);
    QTest::qWait(200); // the artists, had they been taken, would be in by now
    QCOMPARE(values->count(), genres.size());
    QCOMPARE(values->itemText(0), genres.first());
}

void TestFindDialogs::albumListShowsWhatWasFound_data()
{
    QTest::addColumn<bool>("anyOf");
    QTest::newRow("AND") << false;
    QTest::newRow("OR") << true;
}

// Find from the frame's command: the list then shows just what the condition selects.
void TestFindDialogs::albumListShowsWhatWasFound()
{
    QFETCH(bool, anyOf);
    const QString catalogue = m_document->database()->name();
    m_document.reset();
    CVastryApp app;
    QVERIFY(startFilled(app, catalogue));
    const QStringList rows = {"Artist=Les Étoiles Filantes", "Year=1998"};
    ModalDialogDriver driver;
    driver.onNext<FindDialog>([&](FindDialog* d) {
        addRows(d, rows);
        if (anyOf)
            chooseOr(d);
        QTest::keyClick(d, Qt::Key_Return);
    });
    QVERIFY(app.mainFrame()->runCommand(CommandIds::Find));
    QVERIFY(driver.acted());
    const QString joiner = anyOf ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
    const QString condition = "artist_name = 'Les Étoiles Filantes'" + joiner + "year = 1998";
    CVastryDoc& document = *app.document();
    QCOMPARE(document.filter(), condition);
    PlainRowTable expected({QStringLiteral("title")});
    QVERIFY(document.albumTable().FillList(document.database(), &expected, document.sortText(),
                                           false, condition));
    QVERIFY(!expected.rows.isEmpty());
    QCOMPARE(app.mainFrame()->listPane()->model()->rowCount(), expected.rows.size());
    app.shutDown();
}

void TestFindDialogs::everyControlHasAnAccessibleName()
{
    FindDialog find(*m_document);
    find.show();
    QCOMPARE(unnamedControls(&find), QStringList());
    FilterDialog filter(*m_document);
    filter.show();
    auto* items = filter.findChild<QComboBox*>(QStringLiteral("items"));
    for (const char* item : {"Artist", "Title", "In Collection"}) {
        items->setCurrentIndex(items->findText(QLatin1String(item)));
        QVERIFY2(unnamedControls(&filter).isEmpty(),
                 qPrintable(item + (": " + unnamedControls(&filter).join(", "))));
    }
}

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestFindDialogs test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestFindDialogs.moc"
