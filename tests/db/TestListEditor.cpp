#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "app/PrivateMessages.h"
#include "db/AlbumRecord.h"
#include "db/CatalogBackup.h"
#include "db/LocaleCollation.h"
#include "db/LookupList.h"
#include "db/LookupListCtrl.h"
#include "db/LookupListDialog.h"
#include "db/LookupListModel.h"
#include "db/LookupValueDialog.h"
#include "db/TrackTable.h"
#include "editors/AutoCompleteComboBox.h"
#include "support/PlainTargets.h"
#include "support/TestCatalog.h"
#include "support/gui/AccessibleNames.h"
#include "support/gui/DesktopTestRun.h"
#include "support/gui/EventLoopWait.h"
#include "support/gui/ModalDialogDriver.h"
#include "ui/DialogFont.h"
#include "ui/FlatButton.h"
#include "ui/MessageBox.h"
#include "views/AlbumListModel.h"
#include "views/CLeftView.h"
#include "views/CTopView.h"
#include "views/CVastryDoc.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidgetItemIterator>
#include <QtTest>
#include <algorithm>

// The name-list editor and its value dialog, opened from the Lists menu of the real window on
// a copy of the demo catalogue and driven from the keyboard while they run.
// Keys reach a window only once it is active, and a mnemonic clicks its button a moment later;
// on a busy machine both take far longer than Qt Test's default five seconds.
constexpr int KeyWait = 30000;

class TestListEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyListOpensFromItsCommand_data();
    void everyListOpensFromItsCommand();
    void modelStaysSortedThroughChanges();
    void usedCountsSoftDeletedAlbumsButNeverTracks();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void renameReachesEveryAlbumAndBothPanes();
    void namesAreSavedAndShownExactly_data();
    void namesAreSavedAndShownExactly();
    void questionShowsTheNameAsPlainText();
    void readOnlyCatalogueRefusesAndTheEditorStaysUsable();
    void keysAddEditAndDelete();
    void namesFollowTheLanguageEverywhere();

private:
    using Inside = std::function<void(LookupListDialog*)>;
    void start(const QString& catalogue = QString());
    // Opens the editor of `table` from its menu command, runs `inside` while it is open, then
    // closes it with Esc.
    void editList(const QString& table, const Inside& inside);
    // Opens the value dialog with a key pressed in the editor's list (Alt+A, Enter...) and runs
    // `inside` on it.
    static void inValueDialog(LookupListDialog* editor, int key, Qt::KeyboardModifiers modifiers,
                              const std::function<void(LookupValueDialog*)>& inside);
    static bool activate(QWidget* window);
    static bool pressMnemonic(QWidget* window, QWidget* target, Qt::Key key);
    static void typeAndConfirm(LookupValueDialog* dialog, const QString& text);
    // What the dialog shows beside "ID:" and "Used:".
    static QStringList shownNumbers(LookupValueDialog* dialog);
    static int rowNamed(LookupListDialog* editor, const QString& name);
    CVastryDoc& document() const { return *m_app->document(); }
    CMainFrame* frame() const { return m_app->mainFrame(); }
    bool treeShows(const QString& name) const;
    int albumsShowing(const QString& text) const;
    QStringList comboNames(const LookupList& list) const;

    std::unique_ptr<TestCatalog> m_files;
    std::unique_ptr<CVastryApp> m_app;
};

void TestListEditor::init()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    MessageBox::history().clear();
    MessageBox::setAnswerForAll(QMessageBox::Ok);
}

void TestListEditor::cleanup()
{
    if (m_app)
        m_app->shutDown();
    m_app.reset();
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    m_files.reset();
}

void TestListEditor::start(const QString& catalogue)
{
    m_app = std::make_unique<CVastryApp>();
    QVERIFY(startFilled(*m_app, catalogue.isEmpty() ? m_files->copyOfDemo() : catalogue));
}

void TestListEditor::editList(const QString& table, const Inside& inside)
{
    ModalDialogDriver driver;
    driver.onNext<LookupListDialog>([inside](LookupListDialog* editor) {
        QVERIFY(activate(editor));
        inside(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    QVERIFY(frame()->runCommand(LookupList::find(table)->commandId));
    QVERIFY(driver.acted());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestListEditor::inValueDialog(LookupListDialog* editor, int key,
                                   Qt::KeyboardModifiers modifiers,
                                   const std::function<void(LookupValueDialog*)>& inside)
{
    QVERIFY(activate(editor));
    ModalDialogDriver driver;
    driver.onNext<LookupValueDialog>([inside](LookupValueDialog* dialog) {
        QVERIFY(activate(dialog));
        inside(dialog);
        // A failed check leaves the dialog open; the test goes on to report it.
        if (dialog->isVisible())
            dialog->reject();
    });
    if (modifiers == Qt::AltModifier)
        QVERIFY(pressMnemonic(editor, editor->list(), Qt::Key(key)));
    else
        QTest::keyClick(editor->list(), Qt::Key(key), modifiers);
    // A button's mnemonic clicks it a moment later, as a mouse click would show.
    LOOP_VERIFY_WITH_TIMEOUT(driver.acted(), KeyWait);
}

// Offscreen, closing a dialog activates no other window, and activation arrives late; a
// desktop gives the focus back to the editor at once.
bool TestListEditor::activate(QWidget* window)
{
    if (window->isActiveWindow())
        return true;
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, KeyWait);
}

// On a busy machine the offscreen platform can hand the activation of a window closed a moment
// ago over after this one's, and the mnemonic then finds no button of the active window. A
// mnemonic that reached its button holds it down until the click, so a press that left every
// button up is made again.
bool TestListEditor::pressMnemonic(QWidget* window, QWidget* target, Qt::Key key)
{
    const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (!activate(window))
            return false;
        QTest::keyClick(target, key, Qt::AltModifier);
        if (std::any_of(buttons.begin(), buttons.end(),
                        [](const QAbstractButton* button) { return button->isDown(); }))
            return true;
        QTest::qWait(200);
    }
    return false;
}

void TestListEditor::typeAndConfirm(LookupValueDialog* dialog, const QString& text)
{
    auto* edit = dialog->findChild<QLineEdit*>();
    QCOMPARE(dialog->focusWidget(), edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    edit->insert(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

QStringList TestListEditor::shownNumbers(LookupValueDialog* dialog)
{
    return {dialog->findChild<QLabel*>(QStringLiteral("id"))->text(),
            dialog->findChild<QLabel*>(QStringLiteral("used"))->text()};
}

int TestListEditor::rowNamed(LookupListDialog* editor, const QString& name)
{
    for (int row = 0; row < editor->model()->rowCount(); ++row)
        if (editor->model()->index(row, LookupListModel::NameColumn).data() == name)
            return row;
    return -1;
}

bool TestListEditor::treeShows(const QString& name) const
{
    return !frame()->treePane()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).isEmpty();
}

int TestListEditor::albumsShowing(const QString& text) const
{
    const AlbumListModel* albums = frame()->listPane()->model();
    int count = 0;
    for (int row = 0; row < albums->rowCount(); ++row)
        for (int column = 0; column < albums->columnCount(); ++column)
            count += albums->index(row, column).data() == text;
    return count;
}

QStringList TestListEditor::comboNames(const LookupList& list) const
{
    PlainNameList names;
    document().albumTable().FillNameCombo(document().database(), &names, list.table,
                                          list.nameColumn, list.idColumn, list.deletedColumn,
                                          false);
    return names.names;
}

void TestListEditor::everyListOpensFromItsCommand_data()
{
    QTest::addColumn<QString>("table");
    for (const LookupList& list : LookupList::all())
        QTest::newRow(qPrintable(list.caption)) << list.table;
}

void TestListEditor::everyListOpensFromItsCommand()
{
    QFETCH(QString, table);
    start();
    const LookupList& list = *LookupList::find(table);
    QVERIFY(frame()->action(list.commandId)->isEnabled());
    editList(table, [&](LookupListDialog* editor) {
        QCOMPARE(editor->windowTitle(), list.caption);
        QCOMPARE(editor->font(), DialogFont::font());
        const QStringList unnamed = unnamedControls(editor);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
        for (QPushButton* button : editor->findChildren<QPushButton*>())
            QVERIFY2(button->findChild<FlatButton*>(), qPrintable(button->text()));
        // Every entry the drop-down lists offer, by name, and nothing else.
        QStringList names;
        for (int row = 0; row < editor->model()->rowCount(); ++row)
            names << editor->model()->entryName(row);
        QStringList offered = comboNames(list);
        QCOMPARE(names.size(), offered.size());
        QVERIFY(!names.isEmpty());
        std::stable_sort(offered.begin(), offered.end(), [](const QString& a, const QString& b) {
            return LocaleCollation::current().less(a, b);
        });
        QCOMPARE(names, offered);
    });
}

// Sorted by name whatever order the table keeps, through a refill and rows added and removed.
void TestListEditor::modelStaysSortedThroughChanges()
{
    start();
    const LookupList& artists = *LookupList::find(QStringLiteral("music_artists"));
    // The newest entry, last in the table, sorts first.
    document().albumTable().SaveLookupName(document().database(), -1, artists.table,
                                           artists.nameColumn, artists.idColumn,
                                           QStringLiteral("aardvark"));
    LookupListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(model.fill(document().albumTable(), document().database(), artists));
    QCOMPARE(model.entryName(0), QStringLiteral("aardvark"));
    model.appendRow({QStringLiteral("Kestrel & Finch"), QStringLiteral("0"), QStringLiteral("99")},
                    99);
    model.removeEntry(0);
    for (int row = 1; row < model.rowCount(); ++row)
        QVERIFY2(!LocaleCollation::current().less(model.entryName(row), model.entryName(row - 1)),
                 qPrintable(model.entryName(row)));
    QCOMPARE(model.index(model.rowOfEntry(99), LookupListModel::IdColumn).data(),
             QVariant(QStringLiteral("99")));
    model.removeAllRows();
    QVERIFY(!model.fill(document().albumTable(), nullptr, artists));
    QCOMPARE(model.rowCount(), 0);
}

void TestListEditor::usedCountsSoftDeletedAlbumsButNeverTracks()
{
    start();
    const QString trio = QStringLiteral("Used Count Trio");
    AlbumTable& albums = document().albumTable();
    int ids[3] = {};
    for (int& id : ids) {
        AlbumRecord album;
        album.artist = trio;
        album.title = QStringLiteral("Counted");
        id = albums.Add(document().database(), album);
        QVERIFY(id > 0);
    }
    QVERIFY(albums.Delete(document().database(), ids[2], false));
    // A track by the trio on another artist's album is no use of the artist entry.
    TrackRecord track;
    track.title = QStringLiteral("Guest Spot");
    track.artist = trio;
    track.albumId = 1;
    QVERIFY(TrackTable().Save(document().database(), track, -1) > 0);

    editList(QStringLiteral("music_artists"), [&](LookupListDialog* editor) {
        const int row = rowNamed(editor, trio);
        QVERIFY(row >= 0);
        QCOMPARE(editor->model()->index(row, LookupListModel::UsedColumn).data(),
                 QVariant(QStringLiteral("3")));
        editor->list()->selectRow(row);
        const QString id = editor->model()->index(row, LookupListModel::IdColumn).data().toString();
        // Enter edits the entry: the value dialog shows its id, its uses and its name.
        inValueDialog(editor, Qt::Key_Return, Qt::NoModifier, [&](LookupValueDialog* dialog) {
            QCOMPARE(shownNumbers(dialog), (QStringList{id, QStringLiteral("3")}));
            QCOMPARE(dialog->value(), trio);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
    });
}

void TestListEditor::deleteAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(QMessageBox::Yes);
    QTest::newRow("no") << int(QMessageBox::No);
}

void TestListEditor::deleteAsksFirst()
{
    QFETCH(int, answer);
    const bool yes = answer == QMessageBox::Yes;
    start();
    const QString band = QStringLiteral("Harbour Lights");
    const int albumsBefore = albumsShowing(band);
    QVERIFY(albumsBefore > 0);
    int rowsBefore = 0;
    editList(QStringLiteral("music_artists"), [&](LookupListDialog* editor) {
        rowsBefore = editor->model()->rowCount();
        editor->list()->selectRow(rowNamed(editor, band));
        MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
        QVERIFY(pressMnemonic(editor, editor->list(), Qt::Key_D));
        LOOP_COMPARE_WITH_TIMEOUT(MessageBox::history().size(), 1, KeyWait);
        QCOMPARE(MessageBox::history().first().caption, QStringLiteral("Confirm deletion"));
        QCOMPARE(MessageBox::history().first().text,
                 QStringLiteral("Do you want to delete 'Harbour Lights'?"));
        QCOMPARE(MessageBox::history().first().icon, QMessageBox::Question);
        QCOMPARE(rowNamed(editor, band) < 0, yes);
        QCOMPARE(editor->model()->rowCount(), rowsBefore - (yes ? 1 : 0));
    });
    // Hidden from the tree and the drop-downs; the albums keep the name.
    QCOMPARE(treeShows(band), !yes);
    QCOMPARE(comboNames(*LookupList::find(QStringLiteral("music_artists"))).contains(band), !yes);
    QCOMPARE(albumsShowing(band), albumsBefore);
    editList(QStringLiteral("music_artists"),
             [&](LookupListDialog* editor) { QCOMPARE(rowNamed(editor, band) < 0, yes); });
}

void TestListEditor::renameReachesEveryAlbumAndBothPanes()
{
    start();
    const QString oldName = QStringLiteral("Harbour Lights");
    const QString newName = QStringLiteral("Harbour Lights Revisited");
    const int albums = albumsShowing(oldName);
    int renamedId = -1;
    editList(QStringLiteral("music_artists"), [&](LookupListDialog* editor) {
        const int row = rowNamed(editor, oldName);
        const int id = editor->model()->entryId(row);
        renamedId = id;
        editor->list()->selectRow(row);
        inValueDialog(editor, Qt::Key_E, Qt::AltModifier,
                      [&](LookupValueDialog* dialog) { typeAndConfirm(dialog, newName); });
        // Read again, the entry keeps its id and stays selected under its new name.
        const int renamed = editor->list()->selectedRow();
        QCOMPARE(editor->model()->entryId(renamed), id);
        QCOMPARE(editor->model()->entryName(renamed), newName);
        QCOMPARE(rowNamed(editor, oldName), -1);
    });
    QCOMPARE(albumsShowing(newName), albums);
    QCOMPARE(albumsShowing(oldName), 0);
    QVERIFY(treeShows(newName));
    QVERIFY(!treeShows(oldName));
    // The catalogue as it was before the rename is kept, and only once.
    const QString connect = document().database()->connectString();
    const QVector<BackupEntry> backups =
        CatalogBackup::fromSettings(AppSettings()).list(document().database()->name(), connect);
    QCOMPARE(backups.size(), 1);
    Database backup;
    QVERIFY(backup.open(backups.first().path, connect));
    const LookupList& artists = *LookupList::find(QStringLiteral("music_artists"));
    QCOMPARE(document().albumTable().GetNameById(&backup, renamedId, artists.table,
                                                 artists.nameColumn, artists.idColumn),
             oldName);
}

void TestListEditor::namesAreSavedAndShownExactly_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("quotes") << QStringLiteral("The \"Quoted\" Band");
    QTest::newRow("apostrophes") << QStringLiteral("O'Brien's ''Pub'' Players");
    QTest::newRow("format codes") << QStringLiteral("%s %d %1 %%");
    QTest::newRow("html") << QStringLiteral("<b>Bold</b> &amp; <i>");
    QTest::newRow("non-Latin") << QStringLiteral("Пётр Чайковский · 王菲 · عمرو دياب");
    QTest::newRow("1000 characters") << QString(1000, QLatin1Char('x'));
    QTest::newRow("only blanks") << QStringLiteral("   ");
    QTest::newRow("empty: nothing saved") << QString();
}

void TestListEditor::namesAreSavedAndShownExactly()
{
    QFETCH(QString, name);
    start();
    const LookupList& genres = *LookupList::find(QStringLiteral("music_categories"));
    editList(genres.table, [&](LookupListDialog* editor) {
        const int before = editor->model()->rowCount();
        inValueDialog(editor, Qt::Key_A, Qt::AltModifier, [&](LookupValueDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), genres.caption);
            // A new entry: id -1, no uses, no name.
            QCOMPARE(shownNumbers(dialog), (QStringList{"-1", "0"}));
            QCOMPARE(dialog->value(), QString());
            const QStringList unnamed = unnamedControls(dialog);
            QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
            typeAndConfirm(dialog, name);
        });
        // The list was read again either way.
        QCOMPARE(editor->model()->rowCount(), before + (name.isEmpty() ? 0 : 1));
        if (name.isEmpty())
            return;
        const int row = editor->list()->selectedRow();
        QCOMPARE(editor->model()->index(row, LookupListModel::NameColumn).data().toString(), name);
        const int id = editor->model()->entryId(row);
        QCOMPARE(document().albumTable().GetNameById(document().database(), id, genres.table,
                                                     genres.nameColumn, genres.idColumn),
                 name);
        MessageBox::setNextAnswer(QMessageBox::No);
        QVERIFY(pressMnemonic(editor, editor->list(), Qt::Key_D));
        LOOP_COMPARE_WITH_TIMEOUT(
            MessageBox::history().value(0).text,
            QStringLiteral("Do you want to delete '") + name + QStringLiteral("'?"), KeyWait);
    });
}

void TestListEditor::questionShowsTheNameAsPlainText()
{
    MessageBox::setAnswerForAll(QMessageBox::NoButton);
    ModalDialogDriver driver;
    Qt::TextFormat format = Qt::AutoText;
    driver.onNext<QMessageBox>([&format](QMessageBox* box) {
        format = box->textFormat();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    MessageBox::question(nullptr, QStringLiteral("Confirm deletion"),
                         QStringLiteral("Do you want to delete '<b>Bold</b>'?"));
    QVERIFY(driver.acted());
    QCOMPARE(format, Qt::PlainText);
}

// The engine refuses every write; each refusal is reported and the editor goes on working.
void TestListEditor::readOnlyCatalogueRefusesAndTheEditorStaysUsable()
{
    const QString path = m_files->copyOfDemo(QStringLiteral("readonly.muf"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    const QByteArray before = TestCatalog::readBytes(path);
    start(path);
    const QString band = QStringLiteral("Harbour Lights");
    editList(QStringLiteral("music_artists"), [&](LookupListDialog* editor) {
        const int rows = editor->model()->rowCount();
        editor->list()->selectRow(rowNamed(editor, band));
        inValueDialog(editor, Qt::Key_Return, Qt::NoModifier, [](LookupValueDialog* dialog) {
            typeAndConfirm(dialog, QStringLiteral("Never Stored"));
        });
        editor->list()->selectRow(rowNamed(editor, band));
        MessageBox::setNextAnswer(QMessageBox::Yes);
        QVERIFY(pressMnemonic(editor, editor->list(), Qt::Key_D));
        // The rename's error, the question, the delete's error.
        LOOP_COMPARE_WITH_TIMEOUT(MessageBox::history().size(), 3, KeyWait);
        QCOMPARE(MessageBox::history().at(0).icon, QMessageBox::Critical);
        QCOMPARE(MessageBox::history().at(2).icon, QMessageBox::Critical);
        QVERIFY(rowNamed(editor, band) >= 0);
        QCOMPARE(rowNamed(editor, QStringLiteral("Never Stored")), -1);
        QCOMPARE(editor->model()->rowCount(), rows);
    });
    QVERIFY(treeShows(band));
    m_app->shutDown();
    m_app.reset();
    QCOMPARE(TestCatalog::readBytes(path), before);
}

// Ins adds, Enter edits and Del deletes, as in the album list and the track list.
void TestListEditor::keysAddEditAndDelete()
{
    start();
    const QString genre = QStringLiteral("Jazz");
    editList(QStringLiteral("music_categories"), [&](LookupListDialog* editor) {
        const int row = rowNamed(editor, genre);
        QVERIFY(row >= 0);
        editor->list()->selectRow(row);
        inValueDialog(editor, Qt::Key_Insert, Qt::NoModifier, [](LookupValueDialog* dialog) {
            QCOMPARE(shownNumbers(dialog).value(0), QStringLiteral("-1"));
        });
        const QString id = QString::number(editor->model()->entryId(row));
        inValueDialog(editor, Qt::Key_Return, Qt::NoModifier, [&](LookupValueDialog* dialog) {
            QCOMPARE(shownNumbers(dialog).value(0), id);
            QCOMPARE(dialog->value(), genre);
        });
        QVERIFY(activate(editor));
        MessageBox::setNextAnswer(QMessageBox::No);
        QTest::keyClick(editor->list(), Qt::Key_Delete);
        LOOP_COMPARE_WITH_TIMEOUT(MessageBox::history().size(), 1, KeyWait);
        QCOMPARE(MessageBox::history().first().text,
                 QStringLiteral("Do you want to delete 'Jazz'?"));
        QVERIFY(rowNamed(editor, genre) >= 0);
    });
}

// The tree, the list editor, a name box and the album list sorted by artist all show names in
// the language's order (here the international one), not by code point.
void TestListEditor::namesFollowTheLanguageEverywhere()
{
    start();
    const QStringList expected = {QStringLiteral("Åsa Lindqvist"),
                                  QStringLiteral("The Rowan Ensemble"), QStringLiteral("Zoë")};
    for (auto name = expected.crbegin(); name != expected.crend(); ++name) {
        AlbumRecord album;
        album.artist = *name;
        album.title = *name;
        QVERIFY(document().albumTable().Save(document().database(), album, -1) > 0);
    }
    const auto ours = [&expected](const QStringList& shown) {
        QStringList found;
        for (const QString& text : shown)
            if (expected.contains(text) && !found.contains(text))
                found << text;
        return found;
    };
    QStringList inEditor;
    // Closing the editor reloads the tree and the album list.
    editList(QStringLiteral("music_artists"), [&](LookupListDialog* editor) {
        for (int row = 0; row < editor->model()->rowCount(); ++row)
            inEditor << editor->model()->entryName(row);
    });
    QCOMPARE(ours(inEditor), expected);

    QStringList inTree;
    for (QTreeWidgetItemIterator it(frame()->treePane()); *it; ++it)
        inTree << (*it)->text(0);
    QCOMPARE(ours(inTree), expected);

    AutoCompleteComboBox box(frame());
    QVERIFY(box.fillNames(document().albumTable(), document().database(),
                          QStringLiteral("music_artists")));
    QCOMPARE(ours(box.names()), expected);

    document().setSortText(QStringLiteral("artist_name ASC, title ASC"));
    SendPaneMessage(frame()->listPane(), UWM_RELOAD);
    const AlbumListModel* albums = frame()->listPane()->model();
    QStringList inList;
    for (int row = 0; row < albums->rowCount(); ++row)
        for (int column = 0; column < albums->columnCount(); ++column)
            inList << albums->index(row, column).data().toString();
    QCOMPARE(ours(inList), expected);
}

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestListEditor test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestListEditor.moc"
