#include "support/gui/RecordingPostDialogs.h"

bool RecordingPostDialogs::editAlbum(CVastryDoc& document, int, int* albumId, QWidget*)
{
    calls << QStringLiteral("editAlbum %1").arg(*albumId);
    return duringEditAlbum && duringEditAlbum(document, *albumId);
}

bool RecordingPostDialogs::find(CVastryDoc&, QString* condition, QWidget*)
{
    calls << QStringLiteral("find");
    *condition = findCondition;
    return !findCondition.isEmpty();
}

void RecordingPostDialogs::printList(CVastryDoc&, int mode, QWidget*)
{
    calls << QStringLiteral("printList %1").arg(mode);
}
