#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

class Database;

// The album query cut down to what one list needs. The full query reads every field through
// fifteen joins; a list that shows three columns needs a few of them, and on a large catalogue
// the joins and the width of the sorted rows are most of the cost. Every join is a left join
// on a key of its table, so leaving one out never changes which rows come back or their order.
class AlbumListSelect
{
public:
    // The query `fullSelect` (the album query: "SELECT columns FROM music LEFT JOIN ...") keeping
    // the album id and the columns and joins named in `neededText` (the list's fields, its sort
    // text and its condition). Any identifier in that text that could refer to a column or a
    // join keeps it, so the cut query answers everything the full one would.
    QString select(Database* database, const QString& fullSelect, const QString& neededText);

private:
    struct Join {
        QString text; // " LEFT JOIN table AS alias ON ..."
        QString table;
        QSet<QString> names; // lower-case identifiers that call for the join
    };
    struct Column {
        QString expression; // "alias.column"
        QString name;       // lower-case column
    };
    struct Parsed {
        QString base; // "SELECT music.music_id" ... the first table
        QString from;
        QVector<Column> columns;
        QVector<Join> joins;
    };

    static Parsed parse(const QString& fullSelect);
    static QSet<QString> identifiers(const QString& text);
    bool joinIsNeeded(Database* database, const Join& join, const QSet<QString>& words);

    QHash<QString, Parsed> m_parsed; // by full query
};
