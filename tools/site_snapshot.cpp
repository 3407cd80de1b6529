// Takes a picture of a page as a browser window of a given size shows it, scripts on: for the
// screenshots of a published web site in a phone-sized window.
//
//   site_snapshot PAGE WIDTH HEIGHT OUT.png
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "Usage: site_snapshot PAGE WIDTH HEIGHT OUT.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[4]);
    QWebEngineView view;
    view.resize(QString::fromLatin1(argv[2]).toInt(), QString::fromLatin1(argv[3]).toInt());
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [&](bool loaded) {
        if (!loaded) {
            std::fprintf(stderr, "site_snapshot: the page did not load\n");
            application.exit(1);
            return;
        }
        // The list draws its rows right after the load; the picture waits for them.
        QTimer::singleShot(1500, &view, [&] { application.exit(view.grab().save(out) ? 0 : 1); });
    });
    view.load(QUrl::fromUserInput(QString::fromLocal8Bit(argv[1]), QDir::currentPath()));
    view.show();
    return application.exec();
}
