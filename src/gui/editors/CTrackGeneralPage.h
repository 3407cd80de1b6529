#pragma once

#include "editors/NameBoxPage.h"

class QLineEdit;

// The track's title, year, artist, length, songwriter, conductor, orchestra and label.
class CTrackGeneralPage : public NameBoxPage
{
    Q_OBJECT

public:
    explicit CTrackGeneralPage(CVastryDoc& document, QWidget* parent = nullptr);

    void loadFrom(const TrackRecord& record) override;
    void saveTo(TrackRecord* record) const override;

    QLineEdit* titleEdit() const { return m_title; }
    QLineEdit* yearEdit() const { return m_year; }
    AutoCompleteComboBox* artistBox() const { return m_artist; }

private:
    QLineEdit* m_title = nullptr;
    QLineEdit* m_year = nullptr;
    AutoCompleteComboBox* m_artist = nullptr;
    QLineEdit* m_length = nullptr;
    QLineEdit* m_labelNumber = nullptr;
};
