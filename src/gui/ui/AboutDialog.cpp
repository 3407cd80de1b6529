#include "ui/AboutDialog.h"

#include "app/CMainFrame.h"
#include "ui/DialogFont.h"
#include "ui/FlatButton.h"
#include "ui/HyperLink.h"
#include "ui/MakerAddresses.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    const QString nameAndVersion =
        QStringLiteral("Tunvale ") + QLatin1String(CMainFrame::VersionText);
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About ") + nameAndVersion);

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/tunvale.png")));
    icon->setAccessibleName(QStringLiteral("Tunvale"));
    auto* name = new QLabel(nameAndVersion, this);
    name->setObjectName(QStringLiteral("NameLine"));
    auto* notice = new QLabel(
        QStringLiteral("A catalogue for your music collection, by the Tunvale developers."), this);

    m_mail = new HyperLink(QStringLiteral("Problems? Click here to send us a mail."), this);
    m_mail->setUrl(QLatin1String(MakerAddresses::SupportMail));
    m_web = new HyperLink(QStringLiteral("Click here to visit our website."), this);
    m_web->setUrl(QLatin1String(MakerAddresses::Website));

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(notice);
    text->addSpacing(8);
    text->addWidget(m_mail);
    text->addWidget(m_web);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(text, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(separator);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    MakeButtonFlat(this, m_close);
    DialogFont::apply(this);
    m_close->setFocus();
}
