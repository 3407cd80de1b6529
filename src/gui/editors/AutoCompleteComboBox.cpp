#include "editors/AutoCompleteComboBox.h"

#include "db/AlbumTable.h"
#include "db/ItemTable.h"
#include "db/LookupList.h"
#include "editors/EditorFields.h"
#include "editors/NameCollector.h"
#include "views/CatalogReadTask.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <utility>

AutoCompleteComboBox::AutoCompleteComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The box completes on its own; a second completer would fight it over the text.
    setCompleter(nullptr);
    // Measuring every name of a long list for the box's width would cost more than filling it.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    setMaxVisibleItems(20);
    m_model = new QStringListModel(this);
    setModel(m_model);
    // Names are one line each: the drop-down need not measure every one of them.
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &AutoCompleteComboBox::completeTyping);
}

bool AutoCompleteComboBox::fillNames(ItemTable& catalog, Database* database, const QString& table)
{
    m_prefetch.reset();
    m_pendingTable = LookupList::find(table);
    m_catalog = &catalog;
    m_database = database;
    if (m_pendingTable && CatalogReadTask::isWorthIt(catalog, database, m_pendingTable->table,
                                                     m_pendingTable->deletedColumn))
        prefetchNames(m_pendingTable);
    return m_pendingTable != nullptr;
}

// A long list would stop the window at the first key for as long as it takes to read and sort
// it (about a second for two hundred thousand artists): it is read on a worker as soon as the
// box is given it, and is usually there before the user reaches the box. A key that comes
// sooner reads the names itself.
void AutoCompleteComboBox::prefetchNames(const LookupList* list)
{
    auto names = std::make_shared<NameCollector>();
    m_prefetch =
        CatalogReadTask::create(*m_database, [names, list](AlbumTable& table, Database* database) {
            return names->readSorted(table, database, *list);
        });
    const CatalogReadTask* task = m_prefetch.get();
    connect(task, &CatalogReadTask::finished, this, [this, task, names, list](bool read) {
        if (task != m_prefetch.get())
            return;
        m_prefetch.reset();
        if (read && m_pendingTable == list) {
            m_pendingTable = nullptr;
            applyNames(*names);
        }
        *names = NameCollector(); // the model holds them now
    });
    m_prefetch->start();
}

void AutoCompleteComboBox::readPendingNames()
{
    const LookupList* list = std::exchange(m_pendingTable, nullptr);
    if (!list)
        return;
    m_prefetch.reset();
    NameCollector collector;
    collector.readSorted(*m_catalog, m_database, *list);
    applyNames(collector);
}

// The user may be in the middle of the text: it keeps its caret and selection.
void AutoCompleteComboBox::applyNames(const NameCollector& collector)
{
    QLineEdit* edit = lineEdit();
    const int caret = edit->cursorPosition();
    const int start = edit->selectionStart();
    const int length = int(edit->selectedText().size());
    setNames(collector.names(), collector.ids());
    selectOrAddName(currentText());
    if (start < 0)
        edit->setCursorPosition(caret);
    else if (caret == start)
        edit->setSelection(start + length, -length);
    else
        edit->setSelection(start, length);
}

void AutoCompleteComboBox::setNames(const QStringList& names, const QVector<int>& ids)
{
    m_pendingTable = nullptr;
    const QString text = currentText();
    m_model->setStringList(names);
    m_ids = ids;
    m_ids.resize(names.size());
    setEditText(text);
}

QStringList AutoCompleteComboBox::names()
{
    readPendingNames();
    return m_model->stringList();
}

int AutoCompleteComboBox::idOfName(const QString& name)
{
    const int index = EditorFields::findName(names(), name);
    return index >= 0 ? m_ids.value(index, -1) : -1;
}

bool AutoCompleteComboBox::selectName(const QString& name)
{
    // A whole name, not a beginning: a stored "Ro" must not come back as "Rock" and be saved
    // so without the user having chosen it.
    const int index = name.isEmpty() ? -1 : EditorFields::findName(names(), name);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

// Before the names are read the name only goes into the text; reading them adds it then.
void AutoCompleteComboBox::selectOrAddName(const QString& name)
{
    if (m_pendingTable) {
        setEditText(name);
        return;
    }
    if (name.isEmpty() || selectName(name))
        return;
    QStringList list = names();
    const auto at =
        std::lower_bound(list.begin(), list.end(), name, &EditorFields::nameLess) - list.begin();
    m_model->insertRows(int(at), 1);
    m_model->setData(m_model->index(int(at)), name);
    m_ids.insert(int(at), -1);
    setCurrentIndex(int(at));
}

void AutoCompleteComboBox::noteKey(int key)
{
    m_complete = key != Qt::Key_Delete && key != Qt::Key_Backspace;
}

bool AutoCompleteComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        readPendingNames();
        noteKey(static_cast<QKeyEvent*>(event)->key());
    }
    return QComboBox::eventFilter(watched, event);
}

void AutoCompleteComboBox::keyPressEvent(QKeyEvent* event)
{
    readPendingNames();
    noteKey(event->key());
    QComboBox::keyPressEvent(event);
}

void AutoCompleteComboBox::wheelEvent(QWheelEvent* event)
{
    readPendingNames();
    QComboBox::wheelEvent(event);
}

void AutoCompleteComboBox::showPopup()
{
    readPendingNames();
    QComboBox::showPopup();
}

// Runs after each change the user makes to the text.
void AutoCompleteComboBox::completeTyping(const QString& text)
{
    if (!m_complete || text.isEmpty())
        return;
    QLineEdit* edit = lineEdit();
    const int typed = int(text.size());
    const int caret = edit->cursorPosition();
    const int index = EditorFields::findPrefix(names(), text);
    if (index < 0)
        return;
    const QString completed = m_model->stringList().at(index);
    edit->setText(completed);
    if (caret < typed) {
        // Typing inside the text: the caret stays where the user put it.
        edit->setCursorPosition(caret);
        return;
    }
    edit->setSelection(int(completed.size()), typed - int(completed.size()));
}
