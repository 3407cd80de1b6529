#pragma once

#include <QString>

// Catalogues for benchmarks: `albums` albums with ten tracks each, one artist per five albums
// and 200 entries in every other list. Each size is generated once and kept in the benchmark
// data folder ($TUNVALE_BENCH_DATA, else bench-data/ under the current folder).
class CatalogueGenerator
{
public:
    static QString catalogue(int albums);
    // A private copy of the generated catalogue, for benchmarks that write.
    static QString workingCopy(int albums);
    static QString dataFolder();
};
