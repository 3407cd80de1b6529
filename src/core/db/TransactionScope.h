#pragma once

class Database;

// Stores several rows as one change: begun on construction, undone on destruction unless
// committed. Nesting is not supported; a scope over a database already inside a transaction
// does nothing and leaves the outer one in charge.
class TransactionScope
{
public:
    explicit TransactionScope(Database* database);
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    bool isActive() const { return m_active; }
    bool commit();
    void rollback();

private:
    Database* m_database = nullptr;
    bool m_active = false;
    bool m_owner = false;
};
