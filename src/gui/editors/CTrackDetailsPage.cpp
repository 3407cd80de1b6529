#include "editors/CTrackDetailsPage.h"

#include "db/TrackRecord.h"

CTrackDetailsPage::CTrackDetailsPage(CVastryDoc& document, QWidget* parent)
    : NameBoxPage(document, QStringLiteral("Details"), parent)
{
    AutoCompleteComboBox* studio = addNameBox(QStringLiteral("Studio:"), &TrackRecord::studio);
    AutoCompleteComboBox* producer =
        addNameBox(QStringLiteral("Producer:"), &TrackRecord::producer);
    AutoCompleteComboBox* engineer =
        addNameBox(QStringLiteral("Engineer:"), &TrackRecord::engineer);
    AutoCompleteComboBox* language =
        addNameBox(QStringLiteral("Language:"), &TrackRecord::language);
    AutoCompleteComboBox* country = addNameBox(QStringLiteral("Country:"), &TrackRecord::country);
    finishRows();
    fillNameBoxes({{language, "languages"},
                   {country, "countries"},
                   {studio, "music_studios"},
                   {producer, "music_producers"},
                   {engineer, "music_engineers"}});
}
