#include "editors/LabelledTextPage.h"

#include "editors/EditorWidgets.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

LabelledTextPage::LabelledTextPage(const QString& label, const QString& name, QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(name);
    auto* layout = new QVBoxLayout(this);
    m_edit = EditorWidgets::multiLineEdit(this);
    if (!label.isEmpty()) {
        auto* text = new QLabel(label, this);
        text->setBuddy(m_edit);
        layout->addWidget(text);
    } else {
        m_edit->setAccessibleName(name);
    }
    layout->addWidget(m_edit, 1);
    setFocusProxy(m_edit);
}

QString LabelledTextPage::text() const
{
    return m_edit->toPlainText();
}

void LabelledTextPage::setText(const QString& text)
{
    m_edit->setPlainText(text);
}
