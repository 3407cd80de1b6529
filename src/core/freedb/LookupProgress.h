#pragma once

#include <QString>

// Where a lookup writes its stage texts ("Computing Disc ID", ..., "Done"): the status line of
// the album editor's General page, or whatever a test or another front end puts there.
class LookupProgress
{
public:
    virtual ~LookupProgress() = default;
    virtual void setProgressText(const QString& text) = 0;
};
