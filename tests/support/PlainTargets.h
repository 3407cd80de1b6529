#pragma once

#include "db/NameList.h"
#include "db/NameTree.h"
#include "db/RowTable.h"
#include "db/TrackList.h"

#include <QPair>
#include <QVector>
#include <memory>
#include <vector>

// Plain containers standing in for the widgets the fill operations write into.
class PlainNameList : public NameList
{
public:
    int addName(const QString& name) override
    {
        if (refuseFrom >= 0 && names.size() >= refuseFrom)
            return -1;
        names.append(name);
        ids.append(-1);
        return names.size() - 1;
    }
    void setItemId(int index, int id) override { ids[index] = id; }

    QStringList names;
    QVector<int> ids;
    int refuseFrom = -1; // refuse every entry from this count on
};

class PlainNameTree : public NameTree
{
public:
    struct Node {
        NodeHandle parent;
        QString text;
        int image;
        int selectedImage;
        std::unique_ptr<TreeNodeData> data;
    };

    NodeHandle insertNode(NodeHandle parent, const QString& text, int image, int selectedImage,
                          std::unique_ptr<TreeNodeData> data) override
    {
        nodes.push_back(
            std::make_unique<Node>(Node{parent, text, image, selectedImage, std::move(data)}));
        return nodes.back().get();
    }

    std::vector<std::unique_ptr<Node>> nodes;
};

class PlainRowTable : public RowTable
{
public:
    explicit PlainRowTable(QStringList fields = {}) : fields(std::move(fields)) {}
    void removeAllRows() override
    {
        rows.clear();
        ids.clear();
    }
    QStringList headerFields() const override { return fields; }
    void appendRow(const QStringList& cells, int id) override
    {
        rows.append(cells);
        ids.append(id);
    }

    QStringList fields;
    QVector<QStringList> rows;
    QVector<int> ids;
};

class PlainTrackList : public TrackList
{
public:
    void appendTrack(const QString& number, const QString& text,
                     std::unique_ptr<TrackRecord> record) override
    {
        numbers.append(number);
        texts.append(text);
        records.push_back(std::move(record));
    }

    QStringList numbers;
    QStringList texts;
    std::vector<std::unique_ptr<TrackRecord>> records;
};
