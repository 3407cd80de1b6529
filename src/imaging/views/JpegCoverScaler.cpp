#include "views/JpegCoverScaler.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

namespace
{

QImage onWhite(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

} // namespace

bool JpegCoverScaler::writeScaled(const QString& source, const QString& target, int maxSide)
{
    QImageReader reader(source);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > maxSide || size.height() > maxSide))
        reader.setScaledSize(size.scaled(maxSide, maxSide, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return false;
    // Some formats ignore the scaled size.
    if (image.width() > maxSide || image.height() > maxSide)
        image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImageWriter writer(target, "jpeg");
    writer.setQuality(Quality);
    return writer.write(onWhite(image));
}
