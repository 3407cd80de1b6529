#pragma once

#include <QDialog>

class AppSettings;
class QComboBox;
class QLabel;
class QPainter;
class QPushButton;

// One usage hint at a time, the one after the hint shown last. The dialog paints its own gray
// band with a picture, a "Did you know..." header and the hint's text area; closing it
// remembers the hint and whether tips are shown at start-up.
class TipOfTheDayDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TipOfTheDayDialog(AppSettings& settings, QWidget* parent = nullptr);

    int currentTip() const { return m_current; }
    QString currentTipText() const;
    QComboBox* startUpChoice() const { return m_startUp; }
    QPushButton* nextTipButton() const { return m_next; }
    QPushButton* closeButton() const { return m_close; }

    // Every way of closing (Close, Escape, the close box) stores the two settings.
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void createTipText();
    void showNextTip();
    void paintBand(QPainter& painter, const QRect& band) const;
    void paintHeader(QPainter& painter, const QRect& header) const;

    AppSettings& m_settings;
    int m_current = -1;
    QWidget* m_canvas = nullptr;
    QLabel* m_tipText = nullptr;
    QComboBox* m_startUp = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_close = nullptr;
};
