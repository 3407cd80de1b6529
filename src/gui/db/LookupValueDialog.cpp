#include "db/LookupValueDialog.h"

#include "ui/DialogFont.h"
#include "ui/FlatButton.h"
#include "views/CVastryDoc.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

// A number shown beside its caption, read out as it is shown.
QLabel* numberLabel(long value, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(QString::number(value), parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

LookupValueDialog::LookupValueDialog(CVastryDoc& document, const LookupList& list, int id,
                                     int useCount, QWidget* parent)
    : QDialog(parent), m_document(document), m_list(list), m_id(id)
{
    setWindowTitle(list.caption);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("ID:"), numberLabel(id, QStringLiteral("id"), this));
    fields->addRow(QStringLiteral("Used:"), numberLabel(useCount, QStringLiteral("used"), this));
    m_value = new QLineEdit(this);
    m_value->setMinimumWidth(240);
    if (id != -1)
        m_value->setText(document.albumTable().GetNameById(document.database(), id, list.table,
                                                           list.nameColumn, list.idColumn));
    auto* valueLabel = new QLabel(QStringLiteral("Value:"), this);
    valueLabel->setBuddy(m_value);
    fields->addRow(valueLabel, m_value);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LookupValueDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LookupValueDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(separator);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    DialogFont::apply(this);
    for (QAbstractButton* button : buttons->buttons())
        MakeButtonFlat(this, button);
    m_value->setFocus();
    m_value->selectAll();
}

QString LookupValueDialog::value() const
{
    return m_value->text();
}

void LookupValueDialog::accept()
{
    // A name is saved exactly as typed, blanks included; only an empty one is not a name.
    if (!value().isEmpty() && m_id != -1 && m_beforeRename)
        m_beforeRename();
    if (!value().isEmpty())
        m_document.albumTable().SaveLookupName(m_document.database(), m_id, m_list.table,
                                               m_list.nameColumn, m_list.idColumn, value());
    QDialog::accept();
}
