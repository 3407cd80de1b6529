#pragma once

#include "editors/NameBoxPage.h"

// The track's studio, producer, engineer, language and country.
class CTrackDetailsPage : public NameBoxPage
{
    Q_OBJECT

public:
    explicit CTrackDetailsPage(CVastryDoc& document, QWidget* parent = nullptr);
};
