#include "app/PrivateMessages.h"

#include <QCoreApplication>

void SendPaneMessage(QObject* target, int message, quintptr wParam, qintptr lParam)
{
    if (!target)
        return;
    PaneMessage event(message, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
}

bool SendCommandMessage(QObject* target, int commandId)
{
    if (!target)
        return false;
    CommandMessage event(commandId);
    event.ignore();
    QCoreApplication::sendEvent(target, &event);
    return event.isAccepted();
}

quintptr PackPoint(const QPoint& point)
{
    return (quintptr(quint16(point.y())) << 16) | quint16(point.x());
}

QPoint UnpackPoint(quintptr packed)
{
    return QPoint(qint16(packed & 0xFFFF), qint16((packed >> 16) & 0xFFFF));
}
