#include "find/FindDialog.h"

#include "find/FilterDialog.h"
#include "find/SearchCondition.h"
#include "ui/DialogFont.h"
#include "ui/FlatButton.h"
#include "ui/ListLook.h"
#include "views/CVastryDoc.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

FindDialog::FindDialog(CVastryDoc& document, QWidget* parent)
    : QDialog(parent), m_document(document)
{
    setWindowTitle(QStringLiteral("Search"));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("criteria"));
    m_list->setAccessibleName(QStringLiteral("Search criteria"));
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Field"), QStringLiteral("Value")});
    m_list->setColumnWidth(0, 150);
    m_list->setColumnWidth(1, 150);
    ListLook::apply(m_list, document.settings());

    auto* add = new QPushButton(QStringLiteral("&Add"), this);
    add->setObjectName(QStringLiteral("add"));
    add->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &FindDialog::addCriterion);
    m_and = new QRadioButton(QStringLiteral("&AND"), this);
    m_or = new QRadioButton(QStringLiteral("&OR"), this);
    m_or->setObjectName(QStringLiteral("or"));
    m_and->setChecked(true);

    QDialogButtonBox* buttons = FilterDialog::okCancelButtons(this);
    MakeButtonFlat(this, add);

    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(m_and);
    side->addWidget(m_or);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    resize(440, 260);
    DialogFont::apply(this);
}

void FindDialog::addCriterion()
{
    FilterDialog filter(m_document, this);
    if (filter.exec() != QDialog::Accepted || filter.criterion().condition.isEmpty())
        return;
    appendRow(filter.criterion());
}

void FindDialog::appendRow(const SearchCriterion& criterion)
{
    m_criteria.append(criterion);
    auto* item = new QTreeWidgetItem(m_list, {criterion.caption, criterion.valueText});
    m_list->setCurrentItem(item);
}

void FindDialog::accept()
{
    m_condition = SearchCondition::joined(m_criteria, m_or->isChecked());
    QDialog::accept();
}
