#pragma once

#include <QDialog>

class HyperLink;
class QPushButton;

// The program's name and version, and links to the maker's support mail and web site.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

    HyperLink* mailLink() const { return m_mail; }
    HyperLink* webLink() const { return m_web; }
    QPushButton* closeButton() const { return m_close; }

private:
    HyperLink* m_mail = nullptr;
    HyperLink* m_web = nullptr;
    QPushButton* m_close = nullptr;
};
