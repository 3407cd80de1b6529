#include "musicbrainz/MusicBrainzDiscId.h"

#include "freedb/DiscToc.h"

#include <QStringList>
#include <discid/discid.h>
#include <memory>

namespace
{

struct DiscIdCloser {
    void operator()(DiscId* disc) const { discid_free(disc); }
};

} // namespace

QString MusicBrainzDiscId::fromToc(const DiscToc& toc)
{
    const int tracks = toc.trackCount();
    if (tracks < 1 || tracks > 99)
        return QString();
    // libdiscid wants the lead-out in slot 0 and track n in slot n.
    int offsets[100] = {};
    offsets[0] = toc.leadOut().frameOffset();
    for (int i = 0; i < tracks; ++i)
        offsets[i + 1] = toc.trackStart(i).frameOffset();
    const std::unique_ptr<DiscId, DiscIdCloser> disc(discid_new());
    if (!disc || !discid_put(disc.get(), 1, tracks, offsets))
        return QString();
    return QString::fromLatin1(discid_get_id(disc.get()));
}

QString MusicBrainzDiscId::tocText(const DiscToc& toc)
{
    const int tracks = toc.trackCount();
    if (tracks < 1)
        return QString();
    QStringList parts{QStringLiteral("1"), QString::number(tracks),
                      QString::number(toc.leadOut().frameOffset())};
    for (int i = 0; i < tracks; ++i)
        parts << QString::number(toc.trackStart(i).frameOffset());
    return parts.join(QLatin1Char('+'));
}
