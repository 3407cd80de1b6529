#pragma once

#include "editors/NameBoxPage.h"

class QLineEdit;
class QSlider;

// The track's genre, subcategory, grade and audio file.
class CTrackPersonalPage : public NameBoxPage
{
    Q_OBJECT

public:
    explicit CTrackPersonalPage(CVastryDoc& document, QWidget* parent = nullptr);

    void loadFrom(const TrackRecord& record) override;
    void saveTo(TrackRecord* record) const override;

    QSlider* gradeSlider() const { return m_grade; }
    QLineEdit* audioFileEdit() const { return m_audioFile; }

private:
    void chooseAudioFile();

    QSlider* m_grade = nullptr;
    QLineEdit* m_audioFile = nullptr;
};
