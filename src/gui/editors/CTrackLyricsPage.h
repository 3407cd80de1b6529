#pragma once

#include "editors/LabelledTextPage.h"

// The track editor's "Lyrics" page.
class CTrackLyricsPage : public LabelledTextPage
{
    Q_OBJECT

public:
    explicit CTrackLyricsPage(QWidget* parent = nullptr)
        : LabelledTextPage(QStringLiteral("Lyrics:"), QStringLiteral("Lyrics"), parent)
    {
    }
};
