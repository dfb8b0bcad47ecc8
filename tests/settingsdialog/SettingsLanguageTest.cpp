#include "DialogFixture.h"
#include "platform/DialogBuilder.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

using test::DialogFixture;

namespace {

class SettingsLanguageTest : public DialogFixture
{
protected:
    QComboBox* choice() const { return dialogbuilder::control<QComboBox>(dialog.get(), 1110); }
    QLabel* label(int id) const { return dialogbuilder::control<QLabel>(dialog.get(), id); }
};

QStringList items(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace

TEST_F(SettingsLanguageTest, LanguageForTheNextStart)
{
    loadStored("");
    openDialog();
    ASSERT_NE(choice(), nullptr);
    EXPECT_EQ(label(1109)->text(), "Språk:");
    EXPECT_EQ(label(1109)->buddy(), choice());
    EXPECT_EQ(choice()->accessibleName(), "Språk");
    EXPECT_EQ(items(choice()), QStringList({"Automatisk", "Norsk", "English", "Deutsch"}));
    EXPECT_EQ(choice()->currentText(), "Automatisk");

    // Another choice brings the note of when it takes effect; the one the
    // dialog opened with takes it away.
    EXPECT_FALSE(label(1111)->isVisible());
    QTest::keyClick(choice(), Qt::Key_End);
    EXPECT_EQ(choice()->currentText(), "Deutsch");
    EXPECT_TRUE(label(1111)->isVisible());
    EXPECT_EQ(label(1111)->text(), "Språket endres neste gang Ringvakt startes.");
    QTest::keyClick(choice(), Qt::Key_Home);
    EXPECT_FALSE(label(1111)->isVisible());

    choice()->setCurrentIndex(2);
    click(1);
    EXPECT_EQ(stored()["LANGUAGE"], "en");
    EXPECT_EQ(settings.LANGUAGE, "en");
    openDialog();
    EXPECT_EQ(choice()->currentText(), "English");
    EXPECT_FALSE(label(1111)->isVisible());

    // A value written by hand that names none of them is kept as it stands.
    loadStored("LANGUAGE=fr\n");
    openDialog();
    EXPECT_EQ(choice()->currentText(), "fr");
    click(1);
    EXPECT_EQ(stored()["LANGUAGE"], "fr");
}
