#include "app/AppSettings.h"
#include "editors/AlbumEditorDialog.h"
#include "editors/CMusicTracksPage.h"
#include "find/FindDialog.h"
#include "support/TestCatalog.h"
#include "support/gui/DesktopTestRun.h"
#include "ui/ListLook.h"
#include "views/CVastryDoc.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QtTest>

// The album editor's track and page lists and the search criteria list look like the other
// report lists: grid lines, whole-row selection and the row under the mouse underlined, each as
// the General settings say.
class TestListLook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsTakeTheCommonLook_data();
    void listsTakeTheCommonLook();

private:
    static bool gridBelow(QAbstractItemView* view, int row);

    std::unique_ptr<TestCatalog> m_files;
    QString m_catalogue;
};

void TestListLook::initTestCase()
{
    m_files = std::make_unique<TestCatalog>();
    useDesktopTestFolders(*m_files);
    m_catalogue = m_files->copyOfDemo();
}

// A line of another colour than the list's background along the bottom edge of the row, with
// background just above it (text would not end so).
bool TestListLook::gridBelow(QAbstractItemView* view, int row)
{
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    const QImage shot = view->viewport()->grab().toImage();
    const QColor base = view->palette().color(QPalette::Base);
    const QPoint edge(cell.left() + 1, cell.bottom());
    return shot.pixelColor(edge) != base && shot.pixelColor(edge - QPoint(0, 2)) == base;
}

void TestListLook::listsTakeTheCommonLook_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("setting");
    QTest::addColumn<bool>("gridAllowed");
    for (const char* list : {"tracks", "criteria", "pages"}) {
        const bool grid = QByteArray(list) != "pages";
        QTest::newRow(qPrintable(QStringLiteral("%1, settings on").arg(list)))
            << QString::fromLatin1(list) << 1 << grid;
        QTest::newRow(qPrintable(QStringLiteral("%1, settings off").arg(list)))
            << QString::fromLatin1(list) << 0 << grid;
    }
}

void TestListLook::listsTakeTheCommonLook()
{
    QFETCH(QString, list);
    QFETCH(int, setting);
    QFETCH(bool, gridAllowed);
    AppSettings settings;
    for (const IntSetting& look :
         {SettingsTable::ShowGridlines, SettingsTable::FullrowSelect, SettingsTable::HotTrack})
        settings.write(look, setting);
    CVastryDoc document(settings);
    QVERIFY(document.openCatalog(m_catalogue));

    std::unique_ptr<QDialog> dialog;
    QAbstractItemView* view = nullptr;
    if (list == QLatin1String("criteria")) {
        dialog = std::make_unique<FindDialog>(document);
        auto* criteria = dialog->findChild<QTreeWidget*>(QStringLiteral("criteria"));
        for (const char* field : {"Artist", "Record Year", "Title"})
            new QTreeWidgetItem(criteria, {QLatin1String(field), QStringLiteral("x")});
        view = criteria;
    } else {
        auto editor = std::make_unique<AlbumEditorDialog>(document, -1, 0);
        if (list == QLatin1String("tracks")) {
            CMusicTracksPage* tracks = editor->tracksPage();
            for (const char* title : {"Intro", "Harbour", "Outro"})
                tracks->appendTrack(QStringLiteral("01"), QLatin1String(title),
                                    std::make_unique<TrackRecord>());
            editor->pageList()->setCurrentRow(2);
            view = tracks->list();
        } else {
            view = editor->pageList();
        }
        dialog = std::move(editor);
    }
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    const bool on = setting != 0;
    QCOMPARE(view->selectionBehavior(),
             on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    QCOMPARE(gridBelow(view, 1), on && gridAllowed);
    const ListLook* look = ListLook::of(view);
    QVERIFY(look);
    QMouseEvent move(QEvent::MouseMove, view->visualRect(view->model()->index(1, 0)).center(),
                     view->viewport()->mapToGlobal(QPoint()), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QCOMPARE(look->hotRow(), on ? 1 : -1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view->viewport(), &leave);
    QCOMPARE(look->hotRow(), -1);
}

QTEST_MAIN(TestListLook)
#include "TestListLook.moc"
