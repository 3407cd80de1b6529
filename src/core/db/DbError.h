#pragma once

#include <QString>

// One failure of the database engine: its own description and result code.
struct DbError {
    QString description;
    int code = 0;

    bool isSet() const { return code != 0 || !description.isEmpty(); }
};
