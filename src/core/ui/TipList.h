#pragma once

#include <QStringList>

// The hints of the tip-of-the-day dialog, in the order they are shown.
class TipList
{
public:
    static const QStringList& tips();
    // The tip after `index`, wrapping to the first after the last. Any index outside the list
    // (a hand-edited setting) also starts again at the first, so a drawn tip always exists.
    static int next(int index);
};
