#include "platform/RadioGroupKeys.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>

namespace dialogbuilder {

RadioGroupKeys::RadioGroupKeys(QButtonGroup* group) : QObject(group), m_group(group)
{
    connect(group, &QButtonGroup::buttonToggled, this, [this] { updateTabStop(); });
}

void RadioGroupKeys::add(QAbstractButton* button)
{
    button->installEventFilter(this);
    updateTabStop();
}

bool RadioGroupKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    int step = 0;
    if (key == Qt::Key_Down || key == Qt::Key_Right)
        step = 1;
    else if (key == Qt::Key_Up || key == Qt::Key_Left)
        step = -1;
    if (step == 0)
        return false;
    const QList<QAbstractButton*> buttons = m_group->buttons();
    const int from = buttons.indexOf(static_cast<QAbstractButton*>(watched));
    for (int i = 1; from >= 0 && i < buttons.size(); ++i) {
        QAbstractButton* next = buttons[(from + step * i + buttons.size()) % buttons.size()];
        if (!next->isEnabled())
            continue;
        next->setFocus(Qt::OtherFocusReason);
        if (!next->isChecked())
            next->click();
        break;
    }
    return true;
}

void RadioGroupKeys::updateTabStop()
{
    const QList<QAbstractButton*> buttons = m_group->buttons();
    QAbstractButton* stop = m_group->checkedButton();
    if (!stop && !buttons.isEmpty())
        stop = buttons.first();
    for (QAbstractButton* b : buttons)
        b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace dialogbuilder
