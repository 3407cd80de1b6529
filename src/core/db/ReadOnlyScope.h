#pragma once

class Database;

// While it lives, statements prepared on the connection may only read: the engine refuses to
// prepare anything that writes, changes the schema, attaches files, runs pragmas or begins and
// ends transactions. For SQL that comes partly from outside the program, such as a list
// condition typed on a command line.
class ReadOnlyScope
{
public:
    explicit ReadOnlyScope(Database* database);
    ~ReadOnlyScope();
    ReadOnlyScope(const ReadOnlyScope&) = delete;
    ReadOnlyScope& operator=(const ReadOnlyScope&) = delete;

private:
    Database* m_database = nullptr;
};
