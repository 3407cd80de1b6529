#pragma once

#include "io/CollectionImport.h"

class CVastryDoc;
class QWidget;

// File > Import: asks for the CSV file, imports it into the open catalogue while a progress
// dialog offers Cancel (which stores nothing), and shows the summary.
class ImportWithProgress
{
public:
    // True when albums were stored.
    static bool run(CVastryDoc& document, CollectionImport::Format format, QWidget* parent);

    static QString caption(CollectionImport::Format format);
    // The File > Import item of `format`, with its mnemonic.
    static QString menuText(CollectionImport::Format format);
};
