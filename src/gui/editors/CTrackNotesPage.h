#pragma once

#include "editors/LabelledTextPage.h"

// The track editor's "Notes" page.
class CTrackNotesPage : public LabelledTextPage
{
    Q_OBJECT

public:
    explicit CTrackNotesPage(QWidget* parent = nullptr)
        : LabelledTextPage(QStringLiteral("Notes:"), QStringLiteral("Notes"), parent)
    {
    }
};
