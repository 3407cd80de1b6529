#pragma once

#include "stats/AlbumLoans.h"

#include <QWidget>
#include <functional>

class AppSettings;
class CVastryDoc;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The albums on loan now, longest out first, those out too long marked; an album brought back
// is marked returned here, and a double-click opens it in the album editor.
class LoansTab : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char* OverdueText = "Overdue";

    LoansTab(CVastryDoc& document, AppSettings& settings, QWidget* parent = nullptr);

    // What the frame does for the tab: open the album editor on an album, and reload its panes
    // after an album changed.
    void setEditAlbum(std::function<void(int albumId)> edit) { m_editAlbum = std::move(edit); }
    void setCatalogChanged(std::function<void()> changed) { m_catalogChanged = std::move(changed); }

    void reload();
    QString tableText() const;
    QByteArray csvText() const;
    QTableWidget* table() const { return m_table; }

private:
    void fillRow(int row, const AlbumLoans::Loan& loan);
    int selectedAlbumId() const;
    void markSelectedReturned();
    void editRow(int row);

    CVastryDoc& m_document;
    AppSettings& m_settings;
    std::function<void(int)> m_editAlbum;
    std::function<void()> m_catalogChanged;
    QSpinBox* m_overdueDays;
    QTableWidget* m_table;
    QPushButton* m_returned;
};
