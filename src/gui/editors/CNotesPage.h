#pragma once

#include "editors/LabelledTextPage.h"

// The album's free-text notes.
class CNotesPage : public LabelledTextPage
{
    Q_OBJECT

public:
    explicit CNotesPage(QWidget* parent = nullptr)
        : LabelledTextPage(QString(), QStringLiteral("Notes"), parent)
    {
    }
};
