#pragma once

// libcdio reports through a process-wide log whose default handler prints every warning and
// calls exit() on an error, which a directory or unreadable file given as a drive triggers.
// The program shows its own message instead, so the freedb code installs this quiet handler
// before it calls libcdio. Assertions still reach libcdio's own handler.
class CdioLog
{
public:
    static void install();
};
