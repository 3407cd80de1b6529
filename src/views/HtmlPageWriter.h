#pragma once

#include "db/DatabaseEx.h"

// HTML output of the item tables: the album page and the list document.
class HtmlPageWriter : public DatabaseEx
{
public:
    ~HtmlPageWriter() override;
};
