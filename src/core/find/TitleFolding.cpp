#include "find/TitleFolding.h"

#include <QSet>

namespace
{

// Letters that no decomposition splits into a base letter and a mark, written as collectors
// type them on a keyboard without them ("Weiß" and "Weiss" are one name); null for the others.
const char* spelledOut(QChar c)
{
    switch (c.unicode()) {
    case 0x00DF: // sharp s
        return "ss";
    case 0x00E6: // ae
        return "ae";
    case 0x0153: // oe
        return "oe";
    case 0x00F8: // o with stroke
        return "o";
    case 0x0111: // d with stroke
    case 0x00F0: // eth
        return "d";
    case 0x0142: // l with stroke
        return "l";
    case 0x00FE: // thorn
        return "th";
    default:
        return nullptr;
    }
}

// "Sgt. Pepper's" and "Sgt Peppers" are one title: an apostrophe joins, it does not part.
bool isApostrophe(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('`') || c.unicode() == 0x2018 ||
           c.unicode() == 0x2019 || c.unicode() == 0x02BC;
}

bool isAscii(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// Case folded, with accents and other marks taken off their letters. Most titles are plain
// ASCII: they skip the decomposition, which is what a search over a big catalogue spends most
// on.
QString plainLetters(const QString& text)
{
    if (isAscii(text))
        return text.toCaseFolded();
    const QString folded = text.normalized(QString::NormalizationForm_KD).toCaseFolded();
    QString plain;
    plain.reserve(folded.size());
    for (const QChar c : folded) {
        if (c.isMark())
            continue;
        if (const char* spelled = spelledOut(c))
            plain += QLatin1String(spelled);
        else
            plain += c;
    }
    return plain;
}

// Walks the words of `plain`, the runs of letters and digits: `visit(piece, startsWord)` gets
// them a letter at a time. An apostrophe joins the letters around it; "&" is the word "and".
template <typename Visit> void forEachWordPiece(const QString& plain, Visit visit)
{
    bool inWord = false;
    const QStringView text(plain);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isLetterOrNumber()) {
            visit(text.mid(i, 1), !inWord);
            inWord = true;
        } else if (!isApostrophe(c)) {
            inWord = false;
            if (c == QLatin1Char('&'))
                visit(QStringView(u"and"), true);
        }
    }
}

QStringList wordsOf(const QString& plain)
{
    QStringList words;
    forEachWordPiece(plain, [&words](QStringView piece, bool startsWord) {
        if (startsWord)
            words << QString();
        words.last() += piece;
    });
    return words;
}

// "Beatles, The", as catalogues sorted by name write it.
bool endsWithTrailingArticle(const QString& plain)
{
    const QString text = plain.trimmed();
    return text.endsWith(QLatin1String("the")) &&
           text.left(text.size() - 3).trimmed().endsWith(QLatin1Char(','));
}

bool isEditionNote(const QString& note)
{
    static const QSet<QString> words(TitleFolding::editionWords().cbegin(),
                                     TitleFolding::editionWords().cend());
    for (const QString& word : wordsOf(plainLetters(note)))
        if (words.contains(word))
            return true;
    return false;
}

// Where a title's last note begins: `cut` ends the title before it, `from` starts its text.
struct Tail {
    int cut = -1;
    int from = -1;
};

// "(...)" or "[...]" closing the title, brackets inside it matched.
Tail bracketedTail(const QString& title)
{
    if (title.isEmpty())
        return {};
    const QChar close = title.back();
    const QChar open = close == QLatin1Char(')')   ? QLatin1Char('(')
                       : close == QLatin1Char(']') ? QLatin1Char('[')
                                                   : QChar();
    if (open.isNull())
        return {};
    int depth = 0;
    for (int i = title.size() - 1; i >= 0; --i) {
        if (title[i] == close)
            ++depth;
        else if (title[i] == open && --depth == 0)
            return {i, i + 1};
    }
    return {};
}

// " - ..." (or an en or em dash) after the title. The spaces matter: "Jay-Z" has no note.
Tail dashedTail(const QString& title)
{
    Tail last;
    for (const QString& dash :
         {QStringLiteral(" - "), QStringLiteral(" \u2013 "), QStringLiteral(" \u2014 ")}) {
        const int at = title.lastIndexOf(dash);
        if (at > last.cut)
            last = {at, at + int(dash.size())};
    }
    return last;
}

QString withoutLastEditionNote(const QString& title)
{
    for (const Tail& tail : {bracketedTail(title), dashedTail(title)}) {
        if (tail.cut <= 0)
            continue;
        const QString head = title.left(tail.cut).trimmed();
        if (!head.isEmpty() && isEditionNote(title.mid(tail.from)))
            return head;
    }
    return title;
}

} // namespace

const QStringList& TitleFolding::editionWords()
{
    static const QStringList words{
        QStringLiteral("anniversary"), QStringLiteral("bonus"),      QStringLiteral("deluxe"),
        QStringLiteral("edition"),     QStringLiteral("expanded"),   QStringLiteral("reissue"),
        QStringLiteral("remaster"),    QStringLiteral("remastered"),
    };
    return words;
}

QString TitleFolding::foldName(const QString& name)
{
    const QString plain = plainLetters(name.trimmed());
    if (plain.isEmpty())
        return QString();
    // The words run together, without a list of them: every album's artist and title goes
    // through here.
    QString folded;
    folded.reserve(plain.size());
    int words = 0;
    qsizetype secondWordStart = -1;
    qsizetype lastWordStart = 0;
    forEachWordPiece(plain, [&](QStringView piece, bool startsWord) {
        if (startsWord) {
            if (++words == 2)
                secondWordStart = folded.size();
            lastWordStart = folded.size();
        }
        folded += piece;
    });
    const QLatin1String article("the");
    if (words > 1 && endsWithTrailingArticle(plain) &&
        QStringView(folded).mid(lastWordStart) == article) {
        folded.truncate(lastWordStart);
        --words;
    }
    if (words > 1 && secondWordStart == 3 && folded.startsWith(article))
        folded.remove(0, 3);
    // A name of punctuation alone ("!!!") is still a name: it compares as written.
    return folded.isEmpty() ? plain.simplified() : folded;
}

QString TitleFolding::foldTitle(const QString& title)
{
    return foldName(withoutEditionSuffix(title));
}

QString TitleFolding::withoutEditionSuffix(const QString& title)
{
    QString rest = title.trimmed();
    for (;;) {
        const QString shorter = withoutLastEditionNote(rest);
        if (shorter == rest)
            return rest;
        rest = shorter;
    }
}
