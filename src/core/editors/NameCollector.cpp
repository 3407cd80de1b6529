#include "editors/NameCollector.h"

#include <algorithm>
#include <numeric>

int NameCollector::addName(const QString& name)
{
    m_names << name;
    m_ids << -1;
    return int(m_names.size()) - 1;
}

void NameCollector::setItemId(int index, int id)
{
    if (index >= 0 && index < m_ids.size())
        m_ids[index] = id;
}

void NameCollector::sort()
{
    // Folding each name once, rather than in every comparison, keeps a list of tens of
    // thousands quick to sort; the order is the one nameLess gives.
    QStringList folded;
    folded.reserve(m_names.size());
    for (const QString& name : std::as_const(m_names))
        folded << name.toCaseFolded();
    QVector<int> order(m_names.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this, &folded](int left, int right) {
        const int byFolded = QString::compare(folded.at(left), folded.at(right));
        return byFolded != 0 ? byFolded < 0 : m_names.at(left) < m_names.at(right);
    });
    QStringList names;
    QVector<int> ids;
    names.reserve(order.size());
    ids.reserve(order.size());
    for (int index : order) {
        names << m_names.at(index);
        ids << m_ids.at(index);
    }
    m_names = names;
    m_ids = ids;
}
