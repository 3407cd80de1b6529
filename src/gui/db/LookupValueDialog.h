#pragma once

#include "db/LookupList.h"

#include <QDialog>
#include <functional>

class CVastryDoc;
class QLineEdit;

// Adds one name to a list (id -1) or renames an entry. OK saves a value that is not empty and
// closes with Accepted either way; Cancel saves nothing.
class LookupValueDialog : public QDialog
{
    Q_OBJECT

public:
    LookupValueDialog(CVastryDoc& document, const LookupList& list, int id, int useCount,
                      QWidget* parent);

    QString value() const;
    // Called before an existing entry is renamed.
    void setBeforeRename(std::function<void()> hook) { m_beforeRename = std::move(hook); }

public slots:
    void accept() override;

private:
    QLineEdit* m_value = nullptr;
    CVastryDoc& m_document;
    LookupList m_list;
    int m_id;
    std::function<void()> m_beforeRename;
};
