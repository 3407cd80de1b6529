#pragma once

#include "print/PrintColumns.h"

#include <QDialog>
#include <QPrinter>
#include <QVector>

class CVastryDoc;
class CheckListCtrl;
class QCheckBox;
class QLabel;
class QTimer;
class WebViewFailures;
class QLineEdit;
class QPushButton;
class QWebEngineView;

// Prints, previews or exports the album list as the list document, with the columns, order,
// widths and grid lines chosen here and shown at once in the preview (its first rows); or
// exports the chosen columns, in their order, as CSV. Print and Print Preview lay the whole
// list out page by page themselves; Save As writes the whole document. What is chosen here
// lasts as long as the dialog; the album list's own columns stay as they are.
class PrintListDialog : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Export = 0, Print = 1, ExportCsv = 2 };

    PrintListDialog(CVastryDoc& document, int mode, QWidget* parent = nullptr);
    ~PrintListDialog() override;

    QWebEngineView* preview() const { return m_browser; }
    // Why the preview is not shown ("The preview could not be shown: ..."), or empty.
    QString previewNotice() const;
    // A change waits for the user to pause before the preview is rebuilt.
    bool rebuildPending() const;
    static constexpr int RebuildPauseMs = 300;
    // The preview shows this many rows at most; printing and saving use every row.
    static constexpr int PreviewRowLimit = 500;
    // The file the preview shows.
    static QString documentPath();

signals:
    // The preview shows the document as last written (false: it could not be written).
    void previewShown(bool written);

private:
    void buildControls();
    QPushButton* addButton(const QString& text, const char* name);
    void rebuildPreview();
    void rebuildAfterPause();
    void showSelectedWidth();
    void moveSelected(int step);
    void setSelectedWidth();
    void checkToggled(int row, bool checked);
    void printOrSave();
    void printPreview();
    void pageSetup();
    void saveAs();
    void saveAsCsv();
    QString title() const;
    // Prints every row of the list; `intoFile`: into the file the user chose, if any, rather
    // than into a preview's pages. False when no complete print came out.
    bool printList(QPrinter* printer, bool intoFile);
    bool writeListTo(const QString& path);
    void loadFinished(bool ok);
    void showPreviewFailure(const QString& reason);

    CVastryDoc& m_document;
    const int m_mode;
    QVector<PrintColumns::Row> m_rows;
    QPrinter m_printer{QPrinter::HighResolution};
    bool m_documentWritten = false;

    CheckListCtrl* m_list = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_pageSetup = nullptr;
    QPushButton* m_moveUp = nullptr;
    QPushButton* m_moveDown = nullptr;
    QPushButton* m_set = nullptr;
    QCheckBox* m_gridlines = nullptr;
    QLineEdit* m_width = nullptr;
    QLabel* m_widthLabel = nullptr;
    QWebEngineView* m_browser = nullptr;
    QLabel* m_previewNotice = nullptr;
    QTimer* m_rebuildTimer = nullptr;
    WebViewFailures* m_previewFailures = nullptr;
};
