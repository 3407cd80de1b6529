#pragma once

#include <QString>

class CVastryApp;
class TestCatalog;

// Points the settings, the generated pages and the program folder of a desktop-program test at
// `files`' temporary folder, and turns the tip at start-up off (the tip has tests of its own).
void useDesktopTestFolders(const TestCatalog& files);

// Starts `app` on `catalogue` and waits until its window shows the filled tree, list and page
// (the web engine's first page can take a while on a busy machine). False when the program does
// not start or its window does not fill.
bool startFilled(CVastryApp& app, const QString& catalogue);
