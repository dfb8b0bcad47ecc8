#pragma once

#include <QObject>

class QAbstractButton;
class QButtonGroup;

namespace dialogbuilder {

// Radio buttons of one group are one stop of the tab order, at the chosen
// button, and the arrow keys move to the next button and choose it.
class RadioGroupKeys : public QObject
{
public:
    // Lives as long as the group does.
    explicit RadioGroupKeys(QButtonGroup* group);

    // A button that was just put into the group.
    void add(QAbstractButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateTabStop();

    QButtonGroup* m_group;
};

} // namespace dialogbuilder
