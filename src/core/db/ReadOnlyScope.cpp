#include "db/ReadOnlyScope.h"

#include "db/Database.h"

#include <sqlcipher/sqlite3.h>

namespace
{

// Functions that reach beyond the query: loading code, swapping tokenizers, copying the
// database elsewhere.
bool isUnsafeFunction(const char* name)
{
    static const char* const Unsafe[] = {"load_extension", "fts3_tokenizer", "sqlcipher_export"};
    for (const char* unsafe : Unsafe) {
        if (name && sqlite3_stricmp(name, unsafe) == 0)
            return true;
    }
    return false;
}

int authorizeReadsOnly(void*, int action, const char*, const char* second, const char*, const char*)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        return isUnsafeFunction(second) ? SQLITE_DENY : SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

} // namespace

ReadOnlyScope::ReadOnlyScope(Database* database) : m_database(database)
{
    if (m_database && m_database->isOpen())
        sqlite3_set_authorizer(m_database->handle(), authorizeReadsOnly, nullptr);
}

ReadOnlyScope::~ReadOnlyScope()
{
    if (m_database && m_database->isOpen())
        sqlite3_set_authorizer(m_database->handle(), nullptr, nullptr);
}
