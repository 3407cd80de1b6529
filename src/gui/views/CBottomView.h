#pragma once

#include <QWebEngineView>

class CVastryDoc;
class QLabel;
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
    // What the pane says instead of a page when the web engine cannot show one; empty while
    // pages show.
    QString noticeText() const;

signals:
    // A page has been shown, or the pane has said why none can be.
    void settled();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpPage();
    void showNotice(const QString& reason);
    void pageLoaded(bool ok);
    void showAlbum(int albumId);
    void printWithDialog();
    void preview();

    CVastryDoc& m_document;
    QString m_shownPath;
    // Empty when the engine can run; the pane then never touches it, as starting it would end
    // the process.
    QString m_engineMissing;
    QLabel* m_notice = nullptr;
};
