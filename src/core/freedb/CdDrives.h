#pragma once

#include <QStringList>

// The machine's CD-ROM drives as libcdio finds them ("/dev/sr0", ...), in its order, each
// device once even when several names lead to it. Empty when there is none.
QStringList EnumerateCdDrives();

// `names` with every device or disc image that an earlier name already leads to (through a
// link) left out, in their order.
QStringList distinctDrives(const QStringList& names);
