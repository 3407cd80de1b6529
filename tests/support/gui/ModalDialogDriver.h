#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Acts on a modal dialog while it runs: arm the driver, then take the step that opens the
// dialog. The driver waits for the dialog to become the active modal widget, hands it to the
// action (which answers it, usually from the keyboard) and records that it did. Its timers end
// with it, so a driver of a failed test never acts on a later test's dialog; an action whose
// check failed closes the dialog, so the test ends at once instead of at the time-out.
//
//     ModalDialogDriver driver;
//     driver.onNext<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
//     const auto answer = MessageBox::question(...);
//     QVERIFY(driver.acted());
//     LOOP_VERIFY(!QApplication::activeModalWidget());
class ModalDialogDriver
{
public:
    static constexpr int PollInterval = 10;
    static constexpr int GiveUpAfter = 60000; // a busy machine can take long to show a dialog

    template <class Dialog> void onNext(std::function<void(Dialog*)> action)
    {
        m_acted = false;
        poll([this, action](QWidget* modal) {
            auto* dialog = qobject_cast<Dialog*>(modal);
            if (!dialog)
                return false;
            action(dialog);
            m_acted = true;
            if (QTest::currentTestFailed() && dialog->isVisible())
                closeAfterFailure(dialog);
            return true;
        });
    }

    bool acted() const { return m_acted; }

private:
    // The action runs from the dialog's own event loop, so it must not block; each poll is a
    // fresh timer shot until a dialog of the wanted kind shows up or the driver gives up.
    void poll(std::function<bool(QWidget*)> attempt, int waited = 0)
    {
        QTimer::singleShot(PollInterval, &m_timerContext, [this, attempt, waited] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible() && attempt(modal))
                return;
            if (waited < GiveUpAfter)
                poll(attempt, waited + PollInterval);
        });
    }

    static void closeAfterFailure(QWidget* modal)
    {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QObject m_timerContext;
    bool m_acted = false;
};
