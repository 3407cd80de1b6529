#include "db/CatalogIntegrity.h"

#include <QDir>
#include <QFileInfo>

namespace
{

// A badly damaged file yields hundreds of lines; the first few say enough.
constexpr int ProblemsShown = 3;

} // namespace

bool CatalogIntegrity::isCheckedAtOpen(const QString& path)
{
    return QFileInfo(path).size() <= CheckAtOpenUpTo;
}

QString CatalogIntegrity::damageText(const QString& path, const QStringList& problems)
{
    QStringList shown = problems.mid(0, ProblemsShown);
    if (problems.size() > ProblemsShown)
        shown << QStringLiteral("(%1 more)").arg(problems.size() - ProblemsShown);
    return QStringLiteral("The catalog '%1' is damaged:\n%2\n\nIt is open read-only, so that "
                          "nothing more is written to it.")
        .arg(QDir::toNativeSeparators(path), shown.join(u'\n'));
}
