#pragma once

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QObject>

namespace dialogbuilder {

// Radio buttons of one group are one stop of the tab order, at the chosen
// button, and the arrow keys move to the next button and choose it.
// Defined here: the builder is its one user, and a unit of its own would
// only cost build time.
class RadioGroupKeys : public QObject
{
public:
    explicit RadioGroupKeys(QButtonGroup* group) : QObject(group), m_group(group)
    {
        connect(group, &QButtonGroup::buttonToggled, this, [this] { updateTabStop(); });
    }

    void add(QAbstractButton* button)
    {
        button->installEventFilter(this);
        updateTabStop();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
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

private:
    void updateTabStop()
    {
        const QList<QAbstractButton*> buttons = m_group->buttons();
        QAbstractButton* stop = m_group->checkedButton();
        if (!stop && !buttons.isEmpty())
            stop = buttons.first();
        for (QAbstractButton* b : buttons)
            b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }

    QButtonGroup* m_group;
};

} // namespace dialogbuilder
