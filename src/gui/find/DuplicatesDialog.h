#pragma once

#include "find/DuplicateFinder.h"

#include <QDialog>
#include <functional>

class CVastryDoc;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Record > Find Duplicates: the groups of albums that are probably the same record, each
// under the reasons that tie it, with what tells two pressings apart (media type, year, label
// and number). Enter or a double-click opens an album in the editor; Delete marks the chosen
// album deleted after a question. The groups are found afresh after every change.
class DuplicatesDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* Caption = "Find Duplicates";
    enum Column {
        ArtistColumn,
        TitleColumn,
        MediaTypeColumn,
        YearColumn,
        LabelColumn,
        NumberColumn
    };

    DuplicatesDialog(CVastryDoc& document, QWidget* parent = nullptr);

    // What the frame does for the dialog: open the album editor on an album (true when the
    // album was stored; the frame's panes follow the edit), and reload its panes after a delete
    // here.
    void setEditAlbum(std::function<bool(int albumId)> edit);
    void setCatalogChanged(std::function<void()> changed) { m_catalogChanged = std::move(changed); }

    // The groups as the catalogue holds them now. The chosen album stays chosen while it is in a
    // group; otherwise the row where it stood is.
    void search();

    QTreeWidget* groups() const { return m_groups; }
    QString summary() const;
    // The album of the current row; -1 on a group's row or with none.
    int selectedAlbumId() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(const QVector<DuplicateFinder::Group>& groups);
    void addGroup(const DuplicateFinder::Group& group);
    void selectAfterFill(int albumId, int row);
    QList<QTreeWidgetItem*> rowsInOrder() const;
    void editSelected();
    void deleteSelected();
    void updateButtons();

    CVastryDoc& m_document;
    std::function<bool(int)> m_editAlbum;
    std::function<void()> m_catalogChanged;
    QLabel* m_summary = nullptr;
    QTreeWidget* m_groups = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
};
