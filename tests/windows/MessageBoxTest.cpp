#include "platform/MessageBoxes.h"
#include "support/QtPrinting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct Seen
{
    QStringList buttons;
    QString detail;
    QPoint centre;
};

// Looks at the box that is about to open, then presses its button `press`.
void answerNextBox(Seen* seen, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            seen->buttons << b->text();
        seen->buttons.sort();
        seen->detail = box->informativeText();
        seen->centre = box->geometry().center();
        box->button(press)->click();
    });
}

} // namespace

TEST(MessageBox, NorwegianButtonsAndCentredWhenTheOwnerIsHidden)
{
    msgbox::showReal();
    QWidget hiddenOwner;
    hiddenOwner.move(0, 0);
    const QPoint screenCentre = QApplication::primaryScreen()->availableGeometry().center();

    Seen question;
    answerNextBox(&question, QMessageBox::No);
    EXPECT_EQ(msgbox::question(&hiddenOwner, "Ringvakt", "Vil du virklig slette dette innlegget?",
                               "Kari Hansen, 201"),
              msgbox::Answer::No);
    EXPECT_EQ(question.buttons, QStringList({"Ja", "Nei"}));
    EXPECT_EQ(question.detail, "Kari Hansen, 201");
    EXPECT_LE((question.centre - screenCentre).manhattanLength(), 4);

    Seen information;
    answerNextBox(&information, QMessageBox::Ok);
    msgbox::inform(nullptr, "FEIL", "Ringvakt ikke registrert av CAPI!");
    EXPECT_EQ(information.buttons, QStringList{"OK"});
    EXPECT_LE((information.centre - screenCentre).manhattanLength(), 4);
}
