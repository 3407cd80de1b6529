#include "support/gui/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QWidget>

namespace
{

bool isControl(const QWidget* widget)
{
    return widget->focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget);
}

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
}

// Viewports, headers and a view's rendering surface are reached through the control they
// belong to, which carries the name.
bool isPartOfANamedControl(QWidget* widget)
{
    if (widget->focusProxy())
        return true;
    QWidget* parent = widget->parentWidget();
    if (!parent)
        return false;
    if (qobject_cast<QAbstractItemView*>(parent) || parent->focusProxy() == widget)
        return !accessibleName(parent).isEmpty();
    return false;
}

} // namespace

QStringList unnamedControls(QWidget* root)
{
    QStringList unnamed;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (!widget->isVisibleTo(root) || !isControl(widget) || isPartOfANamedControl(widget))
            continue;
        if (accessibleName(widget).isEmpty())
            unnamed << QStringLiteral("%1 '%2'").arg(
                QString::fromLatin1(widget->metaObject()->className()), widget->objectName());
    }
    return unnamed;
}
