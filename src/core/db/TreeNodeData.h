#pragma once

#include <QString>

// What an artist-tree node carries: its type (0 root, 2 artist), the entry's id and name.
struct TreeNodeData {
    static constexpr int RootNode = 0;
    static constexpr int ArtistNode = 2;

    int type = RootNode;
    int id = -1;
    QString name;
};
