#pragma once

#include <QStringList>

// The machine's CD-ROM drives as libcdio finds them ("/dev/sr0", ...), in its order, each
// device once even when several names lead to it. Empty when there is none.
QStringList EnumerateCdDrives();
