#pragma once

#include <QString>

// Turns a cover picture into a small JPEG. Decoding and scaling pictures takes the image
// library, which the core does without: the programs hand in the one they link.
class CoverScaler
{
public:
    virtual ~CoverScaler() = default;
    // Writes the picture at `source` to `target` as a JPEG no wider and no higher than
    // `maxSide` pixels; false when it cannot be read or the JPEG cannot be written.
    virtual bool writeScaled(const QString& source, const QString& target, int maxSide) = 0;
};
