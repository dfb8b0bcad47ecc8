#include "calllog/CallLogWindow.h"

#include "AppFixture.h"
#include "calllog/CallLog.h"
#include "platform/MenuTemplate.h"
#include "platform/MessageBoxes.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

using test::AppFixture;

namespace {

class CallLogWindowTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n201\r\n");
        dir.write("CallID.dat", "01-Jan-2026\r\n10:00:00\r\n1\r\n201\r\n"
                                "01-Jan-2026\r\n10:01:00\r\n1\r\n555\r\n"
                                "01-Jan-2026\r\n10:02:00\r\n1\r\nUkjent nummer\r\n");
        ASSERT_TRUE(startApp());
        window = app->callLogWindow();
        list = window->list();
    }

    void select(int row)
    {
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect |
                                           QItemSelectionModel::Rows);
    }
    QPushButton* button(int id) { return window->findChild<QPushButton*>(QString::number(id)); }

    CallLogWindow* window = nullptr;
    QTreeView* list = nullptr;
};

} // namespace

TEST_F(CallLogWindowTest, ColumnsAndTexts)
{
    const QAbstractItemModel* m = list->model();
    ASSERT_EQ(m->columnCount(), 6);
    QStringList titles;
    for (int c = 0; c < 6; ++c)
        titles << m->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, QStringList({"Dato", "Klokkeslett", "MSN", "Hvem ringte", "Navn", "Status"}));
    EXPECT_EQ(m->index(0, 4).data().toString(), "Kari Hansen");
    EXPECT_EQ(m->index(1, 4).data().toString(), "???");
    EXPECT_EQ(button(1008)->text(), "Slett liste");
    EXPECT_EQ(button(1069)->text(), "Slett innlegg");
    EXPECT_EQ(button(1068)->text(), "-> Katalog");
    EXPECT_EQ(button(1009)->text(), "Lukk");
    EXPECT_FALSE(button(1068)->isEnabled());
    EXPECT_FALSE(button(1069)->isEnabled());
    EXPECT_EQ(menus::item(window->contextMenu(), 40015)->text(), "-> Katalog");
    EXPECT_EQ(menus::item(window->contextMenu(), 40016)->text(), "Slett innlegg");
}

TEST_F(CallLogWindowTest, ButtonsFollowTheSelection)
{
    select(0); // in the phone book
    EXPECT_FALSE(button(1068)->isEnabled());
    EXPECT_TRUE(button(1069)->isEnabled());
    select(1); // not in the phone book
    EXPECT_TRUE(button(1068)->isEnabled());
    select(2); // "Ukjent nummer" is not in the phone book either
    EXPECT_TRUE(button(1068)->isEnabled());
    list->selectionModel()->clearSelection();
    EXPECT_FALSE(button(1068)->isEnabled());
    EXPECT_FALSE(button(1069)->isEnabled());
}

TEST_F(CallLogWindowTest, DeleteRowAndClearList)
{
    select(1);
    button(1069)->click();
    EXPECT_TRUE(msgbox::shown().empty()) << "deleting one row asks nothing";
    ASSERT_EQ(app->core().callLog().size(), 2);
    EXPECT_EQ(dir.read("CallID.dat").find("555"), std::string::npos);

    msgbox::answerAhead({msgbox::Answer::No});
    button(1008)->click();
    ASSERT_EQ(msgbox::shown().size(), 1u);
    EXPECT_EQ(msgbox::shown()[0].caption, "Ringvakt");
    EXPECT_EQ(msgbox::shown()[0].text, "Vil du virklig slette dette innlegget?");
    EXPECT_EQ(app->core().callLog().size(), 2);

    msgbox::answerAhead({msgbox::Answer::Yes});
    button(1008)->click();
    EXPECT_EQ(app->core().callLog().size(), 0);
    EXPECT_EQ(dir.read("CallID.dat"), "");
    EXPECT_TRUE(dir.exists("CallID.dat"));

    // On an empty list "Slett liste" asks nothing; the stale buttons do
    // nothing without a selected row.
    msgbox::clearShown();
    button(1008)->click();
    window->command(1069);
    window->command(1068);
    EXPECT_TRUE(msgbox::shown().empty());
}

TEST_F(CallLogWindowTest, AddToPhoneBookHandsOnTheSelectedNumber)
{
    QStringList added;
    window->setAddNumberHandler([&](const QString& n) { added << n; });
    window->command(1068);
    EXPECT_TRUE(added.isEmpty()) << "nothing selected";
    select(1);
    button(1068)->click();
    EXPECT_EQ(added, QStringList{"555"});
    EXPECT_FALSE(button(1068)->isEnabled());
    EXPECT_FALSE(button(1069)->isEnabled());
    select(2);
    window->command(40015);
    EXPECT_EQ(added, QStringList({"555", "Ukjent nummer"}));
}

TEST_F(CallLogWindowTest, NewCallAppearsAtTheBottom)
{
    ring("777", "1");
    ASSERT_EQ(list->model()->rowCount(), 4);
    EXPECT_EQ(list->model()->index(3, 3).data().toString(), "777");
}

TEST_F(CallLogWindowTest, NoRowIsLeftSelectedBehindTheUsersBack)
{
    const auto selectedRows = [this] { return list->selectionModel()->selectedRows().size(); };
    const auto buttonsOff = [this] {
        return !button(1068)->isEnabled() && !button(1069)->isEnabled();
    };
    // On opening nothing is selected or current.
    EXPECT_FALSE(list->currentIndex().isValid());

    // "Ukjent nummer" deleted: the next row (whose number is in the phone
    // book) is not selected in its place, and a second click deletes nothing.
    ring("201", "1");
    select(2);
    ASSERT_TRUE(button(1068)->isEnabled());
    button(1069)->click();
    EXPECT_EQ(selectedRows(), 0);
    EXPECT_TRUE(buttonsOff());
    button(1069)->click();
    EXPECT_EQ(app->core().callLog().size(), 3);

    // A reload (the phone book changed) leaves nothing selected either.
    select(1);
    ReloadCallLog(app->core().callLog());
    EXPECT_EQ(selectedRows(), 0);
    EXPECT_TRUE(buttonsOff());

    // After "-> Katalog", and after "Slett liste".
    window->setAddNumberHandler([](const QString&) {});
    select(1);
    button(1068)->click();
    EXPECT_EQ(selectedRows(), 0);
    EXPECT_TRUE(buttonsOff());
    select(0);
    msgbox::answerAhead({msgbox::Answer::Yes});
    button(1008)->click();
    EXPECT_TRUE(buttonsOff());
    EXPECT_FALSE(list->currentIndex().isValid());
}
