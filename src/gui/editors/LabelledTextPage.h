#pragma once

#include <QWidget>

class QPlainTextEdit;

// A page that is one multi-line text: a label over it when `label` is given, otherwise the
// edit alone named `name` for screen readers. Enter starts a new line.
class LabelledTextPage : public QWidget
{
    Q_OBJECT

public:
    LabelledTextPage(const QString& label, const QString& name, QWidget* parent = nullptr);

    QPlainTextEdit* edit() const { return m_edit; }
    QString text() const;
    void setText(const QString& text);

private:
    QPlainTextEdit* m_edit = nullptr;
};
