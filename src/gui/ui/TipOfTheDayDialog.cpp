#include "ui/TipOfTheDayDialog.h"

#include "app/AppSettings.h"
#include "ui/DialogFont.h"
#include "ui/FlatButton.h"
#include "ui/TipList.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

const QColor BandGray(128, 128, 128);
constexpr int CanvasWidth = 380;
constexpr int CanvasHeight = 190;
constexpr int BandWidth = 52;
constexpr int HeaderHeight = 40;
constexpr int TextInset = 5;

// Point sizes become pixel heights on the dialog's own screen, so the header and tip keep
// their proportions to the band whatever the display's resolution.
QFont paintFont(const QWidget* widget, const QString& family, int points, int weight)
{
    QFont font(family);
    font.setPixelSize(qMax(1, points * widget->logicalDpiY() / 72));
    font.setWeight(QFont::Weight(weight));
    return font;
}

// The bulb sits on the gray band: its magenta background becomes band gray.
QImage bandPicture()
{
    QImage picture =
        QImage(QStringLiteral(":/pictures/tip.png")).convertToFormat(QImage::Format_RGB32);
    const QRgb magenta = qRgb(255, 0, 255);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (line[x] == magenta)
                line[x] = BandGray.rgb();
    }
    return picture;
}

} // namespace

TipOfTheDayDialog::TipOfTheDayDialog(AppSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TipOfTheDayDialog"));
    setWindowTitle(QStringLiteral("Tunvale Tip of the Day"));

    // The painted areas have no widget of their own; this empty one keeps their place.
    m_canvas = new QWidget(this);
    m_canvas->setObjectName(QStringLiteral("TipCanvas"));
    m_canvas->setFixedSize(CanvasWidth, CanvasHeight);
    m_canvas->setAccessibleName(QStringLiteral("Did you know..."));
    createTipText();

    m_startUp = new QComboBox(this);
    m_startUp->addItems({QStringLiteral("Always show tips at startup"),
                         QStringLiteral("Never show tips at startup")});
    m_startUp->setAccessibleName(QStringLiteral("Show tips at startup"));
    m_startUp->view()->setAccessibleName(QStringLiteral("Show tips at startup"));
    // Only 0 shows the tip at start-up, so any other stored value reads as "never".
    m_startUp->setCurrentIndex(m_settings.read(SettingsTable::DisableTips) == 0 ? 0 : 1);

    m_next = new QPushButton(QStringLiteral("&Next Tip"), this);
    m_next->setAutoDefault(false);
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setDefault(true);
    connect(m_next, &QPushButton::clicked, this, &TipOfTheDayDialog::showNextTip);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_startUp);
    buttons->addStretch();
    buttons->addWidget(m_next);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_canvas);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    DialogFont::apply(this);
    const QString tahoma = QStringLiteral("Tahoma");
    const QString family = QFontDatabase::hasFamily(tahoma) ? tahoma : font().family();
    m_tipText->setFont(paintFont(this, family, 10, 400));
    MakeButtonFlat(this, m_close);
    MakeButtonFlat(this, m_next);

    m_current = m_settings.read(SettingsTable::LastTip);
    showNextTip();
    m_close->setFocus();
}

// The tip is a read-only text on the painted white area: a screen reader reaches it with Tab and
// reads it, and hears the new one after "Next Tip".
void TipOfTheDayDialog::createTipText()
{
    const int top = HeaderHeight + 1;
    m_tipText = new QLabel(m_canvas);
    m_tipText->setObjectName(QStringLiteral("TipText"));
    m_tipText->setGeometry(BandWidth, top, CanvasWidth - BandWidth, CanvasHeight - top);
    m_tipText->setContentsMargins(TextInset, TextInset, TextInset, 0);
    m_tipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tipText->setWordWrap(true);
    m_tipText->setTextFormat(Qt::PlainText);
    m_tipText->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_tipText->setFocusPolicy(Qt::StrongFocus); // selectable text alone takes only clicks
    QPalette ink = m_tipText->palette();
    ink.setColor(QPalette::WindowText, Qt::black);
    m_tipText->setPalette(ink);
}

QString TipOfTheDayDialog::currentTipText() const
{
    return TipList::tips().value(m_current);
}

void TipOfTheDayDialog::showNextTip()
{
    m_current = TipList::next(m_current);
    m_tipText->setText(currentTipText());
}

void TipOfTheDayDialog::done(int result)
{
    m_settings.write(SettingsTable::DisableTips, m_startUp->currentIndex());
    m_settings.write(SettingsTable::LastTip, m_current);
    QDialog::done(result);
}

void TipOfTheDayDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = m_canvas->geometry();
    const QRect band(area.topLeft(), QSize(BandWidth, area.height()));
    const QRect header(band.right() + 1, area.top(), area.width() - BandWidth, HeaderHeight);
    const QRect line(header.left(), header.bottom() + 1, header.width(), 1);
    const QRect text(header.left(), line.bottom() + 1, header.width(),
                     area.bottom() - line.bottom());
    paintBand(painter, band);
    paintHeader(painter, header);
    painter.fillRect(line, BandGray);
    painter.fillRect(text, Qt::white); // the tip's own text lies on it
}

void TipOfTheDayDialog::paintBand(QPainter& painter, const QRect& band) const
{
    painter.fillRect(band, BandGray);
    const QImage picture = bandPicture();
    painter.drawImage(band.topLeft() + QPoint((band.width() - picture.width()) / 2, 10), picture);
}

void TipOfTheDayDialog::paintHeader(QPainter& painter, const QRect& header) const
{
    painter.fillRect(header, Qt::white);
    painter.setPen(Qt::black);
    painter.setFont(paintFont(this, QStringLiteral("Times New Roman"), 14, 700));
    painter.drawText(header.adjusted(TextInset, TextInset, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Did you know..."));
}
