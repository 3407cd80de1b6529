#include "db/TransactionScope.h"

#include "db/Database.h"

#include <sqlcipher/sqlite3.h>

TransactionScope::TransactionScope(Database* database) : m_database(database)
{
    if (!m_database || !m_database->isOpen())
        return;
    if (!sqlite3_get_autocommit(m_database->handle())) {
        m_active = true; // an outer scope owns the transaction
        return;
    }
    m_database->aboutToChange();
    m_active = m_owner = m_database->execute("BEGIN IMMEDIATE");
}

TransactionScope::~TransactionScope()
{
    rollback();
}

bool TransactionScope::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    if (!m_owner)
        return true;
    if (m_database->execute("COMMIT"))
        return true;
    const DbError failure = m_database->lastError();
    m_database->execute("ROLLBACK");
    m_database->setError(failure);
    return false;
}

void TransactionScope::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_owner && !sqlite3_get_autocommit(m_database->handle()))
        m_database->execute("ROLLBACK");
}
