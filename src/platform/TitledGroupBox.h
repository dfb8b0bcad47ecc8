#pragma once

#include <QGroupBox>

namespace dialogbuilder {

// The group box as it was drawn where the templates come from: the title
// sits in a gap of the frame's top line, which runs through the middle of
// the title, so the group's contents may start right under the title.
class TitledGroupBox : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    static constexpr int kTitleIndent = 6;
    static constexpr int kTitlePadding = 2;
};

} // namespace dialogbuilder
