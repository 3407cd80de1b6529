#pragma once

#include <QString>
#include <QStringList>

// Artist names and album titles reduced to what a collector reads in them, so that two
// entries of the same record compare equal however they were typed: case, accents, marks and
// punctuation go, "&" reads as "and", a leading "The " (or a trailing ", The") goes, and a
// title loses an edition suffix such as "(Remastered)", "[Deluxe Edition]" or
// "- 2011 Remaster". Letters and digits stay in their order, so "Theatre" and "The atre" stay
// apart.
class TitleFolding
{
public:
    // The words that make a bracketed or dashed tail of a title an edition note. Kept short on
    // purpose: a tail such as "(Live)" or "(Mono)" names another recording, not another
    // pressing, and must keep two albums apart.
    static const QStringList& editionWords();

    // An artist name (or any name) folded; empty for an empty name.
    static QString foldName(const QString& name);
    // A title folded after its edition suffixes are cut off.
    static QString foldTitle(const QString& title);
    // The title without the edition notes at its end; a title that is nothing but such a note
    // keeps it.
    static QString withoutEditionSuffix(const QString& title);
};
