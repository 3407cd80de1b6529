#pragma once

#include <QWebEngineView>

class CVastryDoc;
class QPrinter;

// The album page pane: shows the page written for the selected album, prints and previews it.
class CBottomView : public QWebEngineView
{
    Q_OBJECT

public:
    CBottomView(CVastryDoc& document, QWidget* parent = nullptr);

    // The page file shown last; empty while the pane is blank.
    QString shownPath() const { return m_shownPath; }
    // Renders what the pane shows onto `printer` and waits until it is done.
    bool printTo(QPrinter* printer);

protected:
    bool event(QEvent* event) override;

private:
    void showAlbum(int albumId);
    void printWithDialog();
    void preview();

    CVastryDoc& m_document;
    QString m_shownPath;
};
