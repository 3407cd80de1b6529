#pragma once

#include <QByteArray>
#include <QVector>
#include <cstddef>

struct sqlite3;

// The floor a benchmark is held against: SQL stepped through the bare engine, the given
// columns read as text. Returns the number of rows.
class EngineFloor
{
public:
    static std::size_t stepAsText(sqlite3* connection, const QByteArray& sql,
                                  const QVector<int>& columns);
};
