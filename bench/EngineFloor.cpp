#include "EngineFloor.h"

#include "db/SqlText.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

std::size_t EngineFloor::stepAsText(sqlite3* connection, const QByteArray& sql,
                                    const QVector<int>& columns)
{
    const QByteArray text = SqlText::withBooleanLiterals(sql);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(connection, text.constData(), text.size(), &statement, nullptr);
    std::size_t rows = 0;
    std::size_t bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int column : columns) {
            benchmark::DoNotOptimize(sqlite3_column_text(statement, column));
            bytes += std::size_t(sqlite3_column_bytes(statement, column));
        }
        ++rows;
    }
    sqlite3_finalize(statement);
    benchmark::DoNotOptimize(bytes);
    return rows;
}
