#include "support/gui/DesktopTestRun.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/CVastryApp.h"
#include "support/TestCatalog.h"
#include "support/gui/EventLoopWait.h"

#include <QtTest>

void useDesktopTestFolders(const TestCatalog& files)
{
    AppSettings::useFolder(files.filePath(QStringLiteral("settings")));
    AppSettings().write(SettingsTable::DisableTips, 1);
    AppPaths::setPageDirectory(files.filePath(QStringLiteral("pages")));
    AppPaths::setProgramDirectory(TestCatalog::programDirectory());
    // Backups of the test's catalogues go with them.
    AppPaths::setDataDirectory(files.filePath(QStringLiteral("data")));
}

bool startFilled(CVastryApp& app, const QString& catalogue)
{
    if (!app.initInstance({QStringLiteral("tunvale"), catalogue}))
        return false;
    CMainFrame* frame = app.mainFrame();
    return QTest::qWaitForWindowExposed(frame) &&
           waitInEventLoop([frame] { return frame->isFilled(); }, 30000);
}
