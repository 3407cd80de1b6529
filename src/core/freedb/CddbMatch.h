#pragma once

#include <QByteArray>
#include <QVector>
#include <cstdint>

// One disc of a query reply. Texts are the server's bytes, unconverted.
struct CddbMatch {
    QByteArray category;
    std::uint32_t discId = 0;
    QByteArray artist;
    QByteArray title;
};

using CddbMatchList = QVector<CddbMatch>;
