#include "editors/NameCollector.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace
{

std::u16string_view view(const QString& text)
{
    // constData, unlike utf16, never copies the text to end it with a null.
    return {reinterpret_cast<const char16_t*>(text.constData()), size_t(text.size())};
}

} // namespace

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

// Each name is folded once rather than in every comparison, and compared as plain UTF-16, so
// that a list of tens of thousands sorts quickly; the order is the one EditorFields::nameLess
// gives.
void NameCollector::sort()
{
    struct Entry {
        QString folded;
        int index;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(m_names.size()));
    for (int i = 0; i < m_names.size(); ++i)
        entries.push_back({m_names.at(i).toCaseFolded(), i});
    std::sort(entries.begin(), entries.end(), [this](const Entry& left, const Entry& right) {
        const int byFolded = view(left.folded).compare(view(right.folded));
        if (byFolded != 0)
            return byFolded < 0;
        const int byName = view(m_names.at(left.index)).compare(view(m_names.at(right.index)));
        return byName != 0 ? byName < 0 : left.index < right.index;
    });
    QStringList names;
    QVector<int> ids;
    names.reserve(m_names.size());
    ids.reserve(m_names.size());
    for (const Entry& entry : entries) {
        names << m_names.at(entry.index);
        ids << m_ids.at(entry.index);
    }
    m_names = names;
    m_ids = ids;
}
