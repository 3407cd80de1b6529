#include "db/AlbumListSelect.h"

#include "db/Database.h"

#include <QRegularExpression>

namespace
{

const QString IdExpression = QStringLiteral("music.music_id");
const QString JoinWord = QStringLiteral(" LEFT JOIN ");

// The joins of the album query are nested in brackets; a join's own text keeps only the
// brackets it opens (the stand-in for a missing table is a bracketed query).
QString withoutUnmatchedClosing(QString text)
{
    while (text.endsWith(u')') && text.count(u')') > text.count(u'('))
        text.chop(1);
    return text;
}

} // namespace

QSet<QString> AlbumListSelect::identifiers(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    QSet<QString> words;
    auto matches = word.globalMatch(text);
    while (matches.hasNext())
        words.insert(matches.next().captured().toLower());
    return words;
}

AlbumListSelect::Parsed AlbumListSelect::parse(const QString& fullSelect)
{
    Parsed parsed;
    const qsizetype from = fullSelect.indexOf(QLatin1String(" FROM "));
    const QString selected = fullSelect.mid(7, from - 7); // after "SELECT "
    for (const QString& expression : selected.split(QLatin1String(", "))) {
        const QString name = expression.mid(expression.indexOf(u'.') + 1).toLower();
        if (expression != IdExpression)
            parsed.columns.append({expression, name});
    }
    const QStringList pieces = fullSelect.mid(from + 6).split(JoinWord);
    parsed.from = QString(pieces.first()).remove(u'(');
    static const QRegularExpression aliasWord(QStringLiteral("\\bAS (\\w+)"));
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        Join join;
        const QString piece = withoutUnmatchedClosing(pieces[i]);
        join.text = JoinWord + piece;
        const QString head = piece.left(piece.indexOf(QLatin1String(" ON ")));
        if (!head.startsWith(u'(')) {
            join.table = head.section(u' ', 0, 0);
            join.names.insert(join.table.toLower());
        }
        // The alias, and the columns a stand-in query names.
        auto aliases = aliasWord.globalMatch(head);
        QString alias = join.table;
        while (aliases.hasNext()) {
            alias = aliases.next().captured(1);
            join.names.insert(alias.toLower());
        }
        for (const Column& column : qAsConst(parsed.columns))
            if (column.expression.startsWith(alias + u'.'))
                join.names.insert(column.name);
        parsed.joins.append(join);
    }
    return parsed;
}

bool AlbumListSelect::joinIsNeeded(Database* database, const Join& join, const QSet<QString>& words)
{
    if (join.names.intersects(words))
        return true;
    // A condition may name any column of a joined table, not only those the query selects.
    const TableInfo* table = join.table.isEmpty() ? nullptr : database->tableInfo(join.table);
    if (!table)
        return false;
    for (const QString& column : table->columns)
        if (words.contains(column.toLower()))
            return true;
    return false;
}

QString AlbumListSelect::select(Database* database, const QString& fullSelect,
                                const QString& neededText)
{
    auto parsed = m_parsed.constFind(fullSelect);
    if (parsed == m_parsed.constEnd())
        parsed = m_parsed.insert(fullSelect, parse(fullSelect));
    const QSet<QString> words = identifiers(neededText);
    QStringList columns{IdExpression};
    for (const Column& column : parsed->columns)
        if (words.contains(column.name))
            columns << column.expression;
    QString joins;
    for (const Join& join : parsed->joins)
        if (joinIsNeeded(database, join, words))
            joins += join.text;
    return QLatin1String("SELECT ") + columns.join(QLatin1String(", ")) + QLatin1String(" FROM ") +
           parsed->from + joins;
}
