#pragma once

#include "views/CoverScaler.h"

// Covers through Qt's image readers: scaled while decoding where the format allows (JPEG
// does), so a photo of many megapixels never sits in memory whole; turned upright by its
// orientation tag; transparency laid on white, which JPEG cannot hold.
class JpegCoverScaler : public CoverScaler
{
public:
    static constexpr int Quality = 85;

    bool writeScaled(const QString& source, const QString& target, int maxSide) override;
};
