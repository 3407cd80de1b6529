#include "stats/LoansTab.h"

#include "app/AppSettings.h"
#include "io/CsvWriter.h"
#include "views/CVastryDoc.h"

#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

const char* const SettingsSection = "Statistics";
const char* const OverdueDaysName = "OverdueDays";
enum Column { ArtistColumn, TitleColumn, PersonColumn, DateColumn, DaysColumn, StateColumn };

} // namespace

LoansTab::LoansTab(CVastryDoc& document, AppSettings& settings, QWidget* parent)
    : QWidget(parent), m_document(document), m_settings(settings)
{
    auto* layout = new QVBoxLayout(this);
    auto* options = new QFormLayout;
    m_overdueDays = new QSpinBox(this);
    m_overdueDays->setObjectName(QStringLiteral("overdueDays"));
    m_overdueDays->setRange(0, 36500);
    m_overdueDays->setValue(m_settings.readInt(QLatin1String(SettingsSection),
                                               QLatin1String(OverdueDaysName),
                                               AlbumLoans::DefaultOverdueDays));
    options->addRow(QStringLiteral("Overd&ue after (days):"), m_overdueDays);
    layout->addLayout(options);

    m_table = new QTableWidget(0, 6, this);
    m_table->setObjectName(QStringLiteral("loans"));
    m_table->setAccessibleName(QStringLiteral("Albums on loan"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Artist"), QStringLiteral("Title"),
                                        QStringLiteral("Lent to"), QStringLiteral("Loan date"),
                                        QStringLiteral("Days out"), QStringLiteral("State")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_returned = new QPushButton(QStringLiteral("&Returned"), this);
    m_returned->setObjectName(QStringLiteral("returned"));
    buttons->addWidget(m_returned);
    layout->addLayout(buttons);

    connect(m_overdueDays, &QSpinBox::valueChanged, this, [this](int days) {
        m_settings.writeInt(QLatin1String(SettingsSection), QLatin1String(OverdueDaysName), days);
        reload();
    });
    // Activated is a double-click as well as Enter on a row.
    connect(m_table, &QTableWidget::cellActivated, this, &LoansTab::editRow);
    connect(m_returned, &QPushButton::clicked, this, &LoansTab::markSelectedReturned);
}

// One query over the albums lent out: quick enough for the main thread even in a big catalogue.
void LoansTab::reload()
{
    const int albumId = selectedAlbumId();
    QVector<AlbumLoans::Loan> loans;
    if (m_document.database())
        AlbumLoans(m_document.database()).current(QDate::currentDate(), &loans);
    m_table->setRowCount(0);
    m_table->setRowCount(loans.size());
    for (int row = 0; row < loans.size(); ++row) {
        fillRow(row, loans[row]);
        if (loans[row].musicId == albumId)
            m_table->selectRow(row);
    }
    m_table->resizeColumnsToContents();
    m_returned->setEnabled(!loans.isEmpty());
}

void LoansTab::fillRow(int row, const AlbumLoans::Loan& loan)
{
    const QLocale locale;
    const QString date = loan.loanDate.isValid()
                             ? locale.toString(loan.loanDate.date(), QLocale::ShortFormat)
                             : QString();
    const QString days = loan.days >= 0 ? locale.toString(loan.days) : QString();
    const QStringList texts{loan.artist, loan.title, loan.person, date, days};
    for (int column = 0; column < texts.size(); ++column) {
        auto* item = new QTableWidgetItem(texts[column]);
        item->setData(Qt::UserRole, loan.musicId);
        if (column == DaysColumn)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, column, item);
    }
    // The word says it for a screen reader and for anyone who cannot tell the colours apart.
    auto* state = new QTableWidgetItem;
    if (AlbumLoans::isOverdue(loan, m_overdueDays->value())) {
        state->setText(QLatin1String(OverdueText));
        state->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
        state->setForeground(palette().brush(QPalette::Link));
        QFont bold = state->font();
        bold.setBold(true);
        state->setFont(bold);
    }
    m_table->setItem(row, StateColumn, state);
}

int LoansTab::selectedAlbumId() const
{
    const QList<QTableWidgetItem*> items = m_table->selectedItems();
    return items.isEmpty() ? -1 : items.first()->data(Qt::UserRole).toInt();
}

void LoansTab::markSelectedReturned()
{
    const int albumId = selectedAlbumId();
    if (albumId < 0 || !m_document.database())
        return;
    if (!AlbumLoans(m_document.database()).markReturned(albumId))
        return;
    if (m_catalogChanged)
        m_catalogChanged();
    reload();
}

void LoansTab::editRow(int row)
{
    const QTableWidgetItem* item = m_table->item(row, 0);
    if (item && m_editAlbum)
        m_editAlbum(item->data(Qt::UserRole).toInt());
}

QString LoansTab::tableText() const
{
    QStringList lines;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < m_table->columnCount(); ++column)
            cells << m_table->item(row, column)->text();
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

QByteArray LoansTab::csvText() const
{
    QByteArray csv;
    for (int row = -1; row < m_table->rowCount(); ++row) {
        QByteArrayList fields;
        for (int column = 0; column < m_table->columnCount(); ++column)
            fields << CsvWriter::encodedField(row < 0
                                                  ? m_table->horizontalHeaderItem(column)->text()
                                                  : m_table->item(row, column)->text());
        csv += fields.join(',') + "\r\n";
    }
    return csv;
}
