#pragma once

#include <QVector>
#include <QWidget>
#include <functional>

class AutoCompleteComboBox;
class CVastryDoc;
class DateBoxes;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct AlbumRecord;

// The album's identity, people and companies, media data, recording date, A/D code, cover
// images, "In Collection" and its FreeDB disc ID.
class CMusicGeneralPage : public QWidget
{
    Q_OBJECT

public:
    CMusicGeneralPage(CVastryDoc& document, QWidget* parent = nullptr);

    void loadFrom(const AlbumRecord& record);
    // False (with the record partly written) when the recording date names no day.
    bool saveTo(AlbumRecord* record) const;
    void clearForNextAlbum();
    // Artist, title, year, genre, length and FreeDB ID as a disc's entry gives them; the front
    // image, label and label number only where the page has none yet; the rest of the page
    // stays as it is.
    void fillFromDisc(const AlbumRecord& disc);
    // The captions of the fields where a value the collector gave would give way to a
    // release's different one.
    QStringList typedFieldsDifferingFrom(const AlbumRecord& release) const;
    // Artist, title, year, genre, length, label, label number and front image take the
    // release's values where the page has none, and with `replaceTyped` everywhere.
    void fillFromRelease(const AlbumRecord& release, bool replaceTyped);

    AutoCompleteComboBox* artistBox() const { return m_artist; }
    QLineEdit* titleEdit() const { return m_title; }
    QLineEdit* yearEdit() const { return m_year; }
    DateBoxes* recordingDate() const { return m_recordingDate; }
    AutoCompleteComboBox* genreBox() const { return m_genre; }
    QPushButton* freedbButton() const { return m_freedb; }
    QPushButton* findOnlineButton() const { return m_findOnline; }
    QLabel* statusLine() const { return m_status; }
    bool hasFrontImage() const;
    QWidget* adButton(int index) const;

private:
    // One field a release fills: its caption, what the page shows and how to set it.
    struct ReleaseField {
        const char* caption;
        QString shown;
        QString released;
        std::function<void(const QString&)> set;
    };
    QVector<ReleaseField> releaseFields(const AlbumRecord& release) const;
    static bool holdsValue(const ReleaseField& field, const QString& untouchedYear);
    static void fillIfEmpty(QLineEdit* field, const QString& text);
    void buildLeftColumn();
    void buildRightColumn();
    QWidget* imageRow(QLineEdit** edit, const QString& name);
    void chooseImage(QLineEdit* edit);
    void fillNameBoxes();

    CVastryDoc& m_document;
    AutoCompleteComboBox* m_artist = nullptr;
    QLineEdit* m_title = nullptr;
    AutoCompleteComboBox* m_studio = nullptr;
    AutoCompleteComboBox* m_producer = nullptr;
    AutoCompleteComboBox* m_engineer = nullptr;
    AutoCompleteComboBox* m_conductor = nullptr;
    AutoCompleteComboBox* m_orchestra = nullptr;
    AutoCompleteComboBox* m_language = nullptr;
    AutoCompleteComboBox* m_country = nullptr;
    QLineEdit* m_frontImage = nullptr;
    QLineEdit* m_backImage = nullptr;
    QPushButton* m_freedb = nullptr;
    QPushButton* m_findOnline = nullptr;
    QCheckBox* m_inCollection = nullptr;
    AutoCompleteComboBox* m_genre = nullptr;
    AutoCompleteComboBox* m_subCategory = nullptr;
    AutoCompleteComboBox* m_mediaType = nullptr;
    AutoCompleteComboBox* m_label = nullptr;
    QLineEdit* m_labelNumber = nullptr;
    QLineEdit* m_length = nullptr;
    QLineEdit* m_year = nullptr;
    DateBoxes* m_recordingDate = nullptr;
    QLineEdit* m_tourName = nullptr;
    QButtonGroup* m_ad = nullptr;
    // A stored code outside the five buttons is kept as it is unless the user picks one.
    int m_adIndex = 0;
    // The year a new album starts with counts as no year (as do 0 and the record's default):
    // a release's year replaces it unasked.
    QString m_untouchedYear;
    QLabel* m_freedbId = nullptr;
    QPlainTextEdit* m_contents = nullptr;
    QLabel* m_status = nullptr;
};
