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
// widths and grid lines chosen here and shown at once in the preview; or exports the chosen
// columns, in their order, as CSV. What is chosen here
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
    // The whole list, written afresh for each print.
    static QString printDocumentPath();

signals:
    // The preview shows the document as last written (false: it could not be written).
    void previewShown(bool written);

private:
    void buildControls();
    QPushButton* addButton(const QString& text, const char* name);
    void rebuildPreview();
    void rebuildAfterPause();
    void rebuildNowIfPending();
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
    // Prints the page once the latest document has loaded; false when it could not.
    bool printPage(QPrinter* printer);
    bool loadWholeList();
    bool printPdf(const QString& path, const QPageLayout& layout);
    bool waitForLoad();
    bool writeListTo(const QString& path);
    void loadFinished(bool ok);
    void showPreviewFailure(const QString& reason);

    CVastryDoc& m_document;
    const int m_mode;
    QVector<PrintColumns::Row> m_rows;
    QPrinter m_printer{QPrinter::HighResolution};
    bool m_loading = false;
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
    // Never shown: holds the whole list while it is printed.
    QWebEngineView* m_printView = nullptr;
    WebViewFailures* m_printFailures = nullptr;
    QLabel* m_previewNotice = nullptr;
    QTimer* m_rebuildTimer = nullptr;
    WebViewFailures* m_previewFailures = nullptr;
};
