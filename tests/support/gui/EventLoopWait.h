#pragma once

#include <QEventLoop>
#include <QTimer>

// Waits in a running event loop until `condition` holds or `timeoutMs` pass; true when it holds.
// QTest::qWaitFor and the QTRY_ macros sleep between rounds of events, and the web engine moves
// one step of its work per round: a page then takes seconds to load instead of a tenth of one.
// Here the loop blocks on its events, so the engine's work runs as it arrives.
template <typename Condition> bool waitInEventLoop(Condition condition, int timeoutMs = 5000)
{
    if (condition())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, &condition] {
        if (condition())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return condition();
}

// QTRY_VERIFY and QTRY_COMPARE for tests that wait on the web engine.
#define LOOP_VERIFY_WITH_TIMEOUT(expression, timeoutMs)                                            \
    QVERIFY(waitInEventLoop([&] { return bool(expression); }, timeoutMs))
#define LOOP_VERIFY(expression) LOOP_VERIFY_WITH_TIMEOUT(expression, 5000)
#define LOOP_COMPARE_WITH_TIMEOUT(actual, expected, timeoutMs)                                     \
    do {                                                                                           \
        waitInEventLoop([&] { return (actual) == (expected); }, timeoutMs);                        \
        QCOMPARE(actual, expected);                                                                \
    } while (false)
#define LOOP_COMPARE(actual, expected) LOOP_COMPARE_WITH_TIMEOUT(actual, expected, 5000)
