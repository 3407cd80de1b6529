#pragma once

#include <QString>
#include <QVector>

// One editable name list: the window title of its editor, its Lists-menu label, prompt and command,
// the lookup table with its columns, and the table and column whose rows count as its uses.
struct LookupList {
    int commandId = 0;
    QString menuLabel; // with its "&" mnemonic
    QString prompt;    // status-bar prompt, line feed, tooltip
    QString caption;
    QString table;
    QString idColumn;
    QString nameColumn;
    QString deletedColumn;
    QString usingTable;
    QString usingColumn;

    // The sixteen lists of the Lists menu, in menu order.
    static const QVector<LookupList>& all();
    // A list by table name or by menu label without its "&" ("Media Type"), any letter case.
    static const LookupList* find(const QString& tableOrLabel);
    static const LookupList* byCommand(int commandId);
};
