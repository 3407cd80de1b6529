#pragma once

#include <QString>

// A drop-down list of lookup names, each entry carrying its id.
class NameList
{
public:
    virtual ~NameList() = default;
    // Adds a name; returns its index, or -1 when the list refuses it.
    virtual int addName(const QString& name) = 0;
    virtual void setItemId(int index, int id) = 0;
};
