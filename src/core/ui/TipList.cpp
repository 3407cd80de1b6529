#include "ui/TipList.h"

const QStringList& TipList::tips()
{
    static const QStringList all = {
        QStringLiteral("To view the help file, just press F1."),
        QStringLiteral("To edit a item, just double-click it in the list, or select it and press "
                       "the Enter key."),
        QStringLiteral("There is an advanced find option, click Ctrl+F to open the find dialog, "
                       "and there it's possible to specify exactly how and what to find. The "
                       "items found will be displayed in the list."),
        QStringLiteral("You can change what columns are displayed in the list, select "
                       "\"View->Columns\" in the menu, the check/uncheck to show/hide the "
                       "columns."),
        QStringLiteral("You can reorder the columns in the list by dragging and dropping them in "
                       "the headers."),
        QStringLiteral("You can export the list to a HTML file, specifying what columns, and the "
                       "width of them."),
        QStringLiteral("You can print a list of all posts or print the currently selected item."),
        QStringLiteral("You can specify what posts, what columns and the width of the columns if "
                       "you choose to print a list."),
        QStringLiteral("All changes made are automatically saved, so no information will be lost "
                       "if you forget to save."),
        QStringLiteral("You can retrieve information about a CD directly from the internet. Press "
                       "the \"Get info from FreeDB\" button on the New post dialog, and then just "
                       "slide your CD in your CD-Rom reader."),
        QStringLiteral("If you misspelled for instance a artistname, the just go to the menu "
                       "\"Lists->Artists\", then edit the artistname in the dialog, click OK and "
                       "the name is changed in all places you used it."),
    };
    return all;
}

int TipList::next(int index)
{
    const int last = int(tips().size()) - 1;
    return index >= -1 && index < last ? index + 1 : 0;
}
