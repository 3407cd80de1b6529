#pragma once

#include <QComboBox>
#include <QVector>
#include <memory>

class CatalogReadTask;
class Database;
class ItemTable;
class NameCollector;
struct LookupList;
class QStringListModel;

// An editable name box with a sorted list that completes what the user types: the first
// entry beginning with the typed text is shown, its not-yet-typed tail selected so that the
// next key replaces it. Delete and Backspace switch completion off until the next other key,
// so removing the completed tail does not bring it straight back.
//
// A box given a lookup table reads its names only when it is first used (a key, the drop-down,
// the wheel, or a call that needs them): an editor of sixteen boxes over a catalogue of a
// hundred thousand artists would otherwise spend most of its opening time reading names the
// user never looks at. A long list is read ahead on a worker instead.
class AutoCompleteComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit AutoCompleteComboBox(QWidget* parent = nullptr);

    // The names of lookup table `table` that are not marked deleted, sorted, read when the
    // box is first used. False for a table that is not a lookup list.
    bool fillNames(ItemTable& catalog, Database* database, const QString& table);
    void setNames(const QStringList& names, const QVector<int>& ids = {});
    QStringList names();
    // The id of the entry named exactly `name` apart from letter case, or -1.
    int idOfName(const QString& name);
    bool namesRead() const { return !m_pendingTable; }

    // Shows the entry that is `name` apart from letter case; without one the box keeps the
    // text it has. True when an entry was found.
    bool selectName(const QString& name);
    // The same, but a name missing from the list is added to it first.
    void selectOrAddName(const QString& name);

    bool completes() const { return m_complete; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void showPopup() override;

private:
    void readPendingNames();
    void prefetchNames(const LookupList* list);
    void applyNames(const NameCollector& collector);
    void noteKey(int key);
    void completeTyping(const QString& text);

    QStringListModel* m_model = nullptr;
    QVector<int> m_ids;
    ItemTable* m_catalog = nullptr;
    Database* m_database = nullptr;
    const LookupList* m_pendingTable = nullptr;
    bool m_complete = true;
    std::shared_ptr<CatalogReadTask> m_prefetch;
};
