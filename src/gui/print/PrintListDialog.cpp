#include "print/PrintListDialog.h"

#include "app/AppPaths.h"
#include "io/CsvExport.h"
#include "print/CheckListCtrl.h"
#include "print/ListPrintJob.h"
#include "print/ListRowReader.h"
#include "print/ListTablePainter.h"
#include "ui/DialogFont.h"
#include "ui/FileDialog.h"
#include "ui/FlatButton.h"
#include "ui/MessageBox.h"
#include "ui/PrintDialogs.h"
#include "ui/WebViewFailures.h"
#include "views/CVastryDoc.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

PrintListDialog::PrintListDialog(CVastryDoc& document, int mode, QWidget* parent)
    : QDialog(parent), m_document(document), m_mode(mode),
      m_rows(PrintColumns::fromTable(document.columns()))
{
    setWindowTitle(title());
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    setMinimumSize(700, 500);
    buildControls();
    DialogFont::apply(this);
    m_list->setRows(m_rows);
    rebuildPreview();
    m_list->selectRow(0);
    showSelectedWidth();
    if (mode != Print) {
        m_preview->hide();
        m_pageSetup->hide();
        m_print->setText(QStringLiteral("&Save As"));
    }
    // A CSV file has neither grid lines nor column widths.
    if (mode == ExportCsv) {
        for (QWidget* widget :
             std::initializer_list<QWidget*>{m_gridlines, m_widthLabel, m_width, m_set})
            widget->hide();
    }
    resize(800, 600);
}

PrintListDialog::~PrintListDialog() = default;

QString PrintListDialog::title() const
{
    switch (m_mode) {
    case Print:
        return QStringLiteral("Print List");
    case ExportCsv:
        return QStringLiteral("Export List as CSV");
    default:
        return QStringLiteral("Export List");
    }
}

QString PrintListDialog::documentPath()
{
    return QDir(AppPaths::pageDirectory()).filePath(QStringLiteral("print.html"));
}

QPushButton* PrintListDialog::addButton(const QString& text, const char* name)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    // Enter in the width edit sets the width; it must not press another button.
    button->setAutoDefault(false);
    MakeButtonFlat(this, button);
    return button;
}

void PrintListDialog::buildControls()
{
    m_list = new CheckListCtrl(this);
    m_list->setObjectName(QStringLiteral("columns"));
    m_list->setAccessibleName(QStringLiteral("Columns"));
    m_list->setFixedHeight(160);
    m_moveUp = addButton(QStringLiteral("Move &Up"), "moveUp");
    m_moveDown = addButton(QStringLiteral("Move &Down"), "moveDown");
    m_close = addButton(QStringLiteral("&Close"), "close");
    m_print = addButton(QStringLiteral("&Print"), "print");
    m_preview = addButton(QStringLiteral("Print Previe&w"), "printPreview");
    m_pageSetup = addButton(QStringLiteral("P&age Setup"), "pageSetup");
    m_set = addButton(QStringLiteral("&Set"), "set");
    m_gridlines = new QCheckBox(QStringLiteral("Show Gridlines"), this);
    m_gridlines->setObjectName(QStringLiteral("showGridlines"));
    m_width = new QLineEdit(this);
    m_width->setObjectName(QStringLiteral("width"));
    m_width->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,6}")), this));
    m_widthLabel = new QLabel(QStringLiteral("Column Width:"), this);
    m_widthLabel->setBuddy(m_width);

    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("preview"));
    m_browser->setAccessibleName(QStringLiteral("Preview"));
    QWebEngineSettings* web = m_browser->settings();
    web->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    web->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    web->setAttribute(QWebEngineSettings::PluginsEnabled, false);

    m_previewFailures = new WebViewFailures(m_browser);
    m_rebuildTimer = new QTimer(this);
    m_rebuildTimer->setSingleShot(true);
    m_rebuildTimer->setInterval(RebuildPauseMs);
    connect(m_rebuildTimer, &QTimer::timeout, this, &PrintListDialog::rebuildPreview);
    m_previewNotice = new QLabel(this);
    m_previewNotice->setObjectName(QStringLiteral("previewNotice"));
    m_previewNotice->setTextFormat(Qt::PlainText);
    m_previewNotice->setWordWrap(true);
    m_previewNotice->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                             Qt::TextSelectableByKeyboard);
    m_previewNotice->hide();

    auto* moves = new QVBoxLayout;
    moves->addWidget(m_moveUp);
    moves->addWidget(m_moveDown);
    moves->addStretch();
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(m_width);
    widthRow->addWidget(m_set);
    auto* commands = new QVBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{m_close, m_print, m_preview, m_pageSetup,
                                                           m_gridlines, m_widthLabel})
        commands->addWidget(widget);
    commands->addLayout(widthRow);
    commands->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addLayout(moves);
    top->addLayout(commands);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_previewNotice);
    layout->addWidget(m_browser, 1);

    connect(m_close, &QPushButton::clicked, this, &PrintListDialog::reject);
    connect(m_print, &QPushButton::clicked, this, &PrintListDialog::printOrSave);
    connect(m_preview, &QPushButton::clicked, this, &PrintListDialog::printPreview);
    connect(m_pageSetup, &QPushButton::clicked, this, &PrintListDialog::pageSetup);
    connect(m_moveUp, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(m_moveDown, &QPushButton::clicked, this, [this] { moveSelected(+1); });
    connect(m_set, &QPushButton::clicked, this, &PrintListDialog::setSelectedWidth);
    connect(m_width, &QLineEdit::returnPressed, this, &PrintListDialog::setSelectedWidth);
    connect(m_gridlines, &QCheckBox::toggled, this, &PrintListDialog::rebuildAfterPause);
    connect(m_list, &CheckListCtrl::checkToggled, this, &PrintListDialog::checkToggled);
    connect(m_list, &CheckListCtrl::selectionMayHaveChanged, this,
            &PrintListDialog::showSelectedWidth);
    connect(m_browser, &QWebEngineView::loadFinished, this, &PrintListDialog::loadFinished);
    connect(m_previewFailures, &WebViewFailures::changed, this,
            &PrintListDialog::showPreviewFailure);
}

// Print and Print Preview wait for a preview that shows again, so the user sees the columns
// they print. Saving writes the document afresh and needs no page.
void PrintListDialog::showPreviewFailure(const QString& reason)
{
    const QString text = reason.isEmpty()
                             ? QString()
                             : QStringLiteral("The preview could not be shown: %1").arg(reason);
    m_previewNotice->setText(text);
    m_previewNotice->setAccessibleName(text);
    m_previewNotice->setVisible(!text.isEmpty());
    if (m_mode == Print) {
        m_print->setEnabled(text.isEmpty());
        m_preview->setEnabled(text.isEmpty());
    }
}

QString PrintListDialog::previewNotice() const
{
    return m_previewNotice->text();
}

// Writing and laying out the whole list takes long on a large catalogue: ticking several
// columns in a row rebuilds it once, when the user pauses.
void PrintListDialog::rebuildAfterPause()
{
    m_rebuildTimer->start();
}

bool PrintListDialog::rebuildPending() const
{
    return m_rebuildTimer->isActive();
}

void PrintListDialog::rebuildPreview()
{
    const QString path = documentPath();
    m_documentWritten = m_document.albumTable().writeListPreview(
        m_document.database(), PrintColumns::checkedColumns(m_rows),
        m_gridlines->isChecked() ? 1 : 0, path, m_document.sortText(), false,
        m_document.listCondition(), PreviewRowLimit);
    const QUrl url =
        m_documentWritten ? QUrl::fromLocalFile(path) : QUrl(QStringLiteral("about:blank"));
    // The file keeps its name: it is read afresh every time, never from the browser's cache.
    if (m_browser->url() == url)
        m_browser->page()->triggerAction(QWebEnginePage::ReloadAndBypassCache);
    else
        m_browser->load(url);
}

void PrintListDialog::loadFinished(bool)
{
    emit previewShown(m_documentWritten);
}

void PrintListDialog::showSelectedWidth()
{
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    // Shown signed: a negative width set here reads back as itself, not as a huge number.
    m_width->setText(QString::number(m_rows[row].column.width));
}

void PrintListDialog::moveSelected(int step)
{
    const int row = m_list->selectedRow();
    if (!PrintColumns::move(&m_rows, row, step))
        return;
    m_list->moveRow(row, row + step);
    // An unchecked column is not in the document: its place there cannot change.
    if (m_rows[row + step].checked)
        rebuildAfterPause();
}

void PrintListDialog::setSelectedWidth()
{
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    m_rows[row].column.width = PrintColumns::widthFromText(m_width->text());
    rebuildAfterPause();
}

void PrintListDialog::checkToggled(int row, bool checked)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].checked = checked;
    rebuildAfterPause();
}

void PrintListDialog::printOrSave()
{
    if (m_mode != Print) {
        saveAs();
        return;
    }
    if (PrintDialogs::choosePrinter(&m_printer, this))
        printList(&m_printer, true);
}

void PrintListDialog::printPreview()
{
    PrintDialogs::preview(&m_printer, this,
                          [this](QPrinter* printer) { printList(printer, false); });
}

void PrintListDialog::pageSetup()
{
    PrintDialogs::pageSetup(&m_printer, this);
}

void PrintListDialog::saveAsCsv()
{
    const QString path = FileDialog::saveCsvFileName(this);
    if (path.isEmpty())
        return;
    QString error;
    if (!CsvExport::write(m_document.database(), PrintColumns::checkedColumns(m_rows), path,
                          m_document.sortText(), m_document.listCondition(), &error))
        MessageBox::show(this, QStringLiteral("Tunvale"), error, QMessageBox::Warning);
}

void PrintListDialog::saveAs()
{
    if (m_mode == ExportCsv) {
        saveAsCsv();
        return;
    }
    const QString path = FileDialog::saveHtmlFileName(this);
    if (path.isEmpty())
        return;
    // Written afresh rather than copied from the preview: the same document, and the writer
    // refuses the open catalogue and anything but a regular file, replaces the file only once
    // the new one is complete and says why when it cannot.
    writeListTo(path);
}

bool PrintListDialog::writeListTo(const QString& path)
{
    return m_document.albumTable().WriteListTable(
        m_document.database(), PrintColumns::checkedColumns(m_rows),
        m_gridlines->isChecked() ? 1 : 0, path, m_document.sortText(), false,
        m_document.listCondition());
}

// The preview holds only the first rows: a print lays the whole list out afresh, one page at a
// time, with the columns as chosen at this moment.
bool PrintListDialog::printList(QPrinter* printer, bool intoFile)
{
    const QVector<ColumnInfo> columns = PrintColumns::checkedColumns(m_rows);
    ListTablePainter table(columns, m_gridlines->isChecked());
    ListRowReader rows(m_document.albumTable(), m_document.database(), columns,
                       m_document.sortText(), m_document.listCondition());
    const QString catalogue = m_document.database() ? m_document.database()->name() : QString();
    return ListPrintJob::run(printer, &table, &rows, intoFile, catalogue, this);
}
