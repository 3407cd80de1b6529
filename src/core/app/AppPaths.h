#pragma once

#include <QString>

// Where the program finds its read-only assets and writes its generated pages.
class AppPaths
{
public:
    // The folder holding "template.bin" and the help, ending with a separator: the executable's
    // folder, or <prefix>/share/tunvale/ when the program is installed.
    static QString programDirectory();
    // A writable folder of this process's own for "post.html" and "print.html", ending with a
    // separator: "pages-<process id>" in the per-user cache folder, removed with the
    // application object. Made on first use, which also removes the folders that processes no
    // longer running left behind.
    static QString pageDirectory();
    static QString templatePath();
    // The per-user data folder (downloaded covers live here), ending with a separator; it may
    // not exist yet.
    static QString dataDirectory();

    // Tests and the command-line program may point both at folders of their own.
    static void setProgramDirectory(const QString& folder);
    static void setPageDirectory(const QString& folder);
    static void setDataDirectory(const QString& folder);
};
