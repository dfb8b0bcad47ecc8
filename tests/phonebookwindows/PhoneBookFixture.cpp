#include "PhoneBookFixture.h"

#include "calllog/CallLog.h"
#include "phonebook/PhoneBookEditor.h"
#include "phonebook/PhoneBookWindow.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <memory>

namespace test {

namespace {
constexpr int kWatchdogMs = 30000;
}

void PhoneBookFixture::SetUp()
{
    AppFixture::SetUp();
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(kWatchdogMs);
    QObject::connect(&m_watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "a modal window was still open at the deadline";
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(0);
            else
                modal->close();
        }
    });
    m_watchdog.start();
}

void PhoneBookFixture::TearDown()
{
    m_watchdog.stop();
    AppFixture::TearDown();
}

void PhoneBookFixture::startWithPhoneBook()
{
    ASSERT_TRUE(startApp());
    dialogs = &app->phoneBookDialogs();
}

void PhoneBookFixture::later(std::function<void()> step)
{
    QTimer::singleShot(0, std::move(step));
}

void PhoneBookFixture::withPhoneBookWindow(const std::function<void(PhoneBookWindow&)>& inside)
{
    bool ran = false;
    later([&] {
        PhoneBookWindow* w = window();
        if (!w) {
            ADD_FAILURE() << "no phone book window opened";
            return;
        }
        ran = true;
        inside(*w);
        if (window() == w && w->isVisible())
            button(w, 1022)->click();
    });
    app->command(command::PhoneBook);
    EXPECT_TRUE(ran);
    EXPECT_EQ(window(), nullptr) << "the window is gone after it closed";
}

void PhoneBookFixture::withEditor(const std::function<void()>& trigger,
                                  const std::function<void(PhoneBookEditor&)>& inside)
{
    bool ran = false;
    later([&] {
        QPointer<PhoneBookEditor> e = editor();
        if (!e) {
            ADD_FAILURE() << "no editor opened";
            return;
        }
        ran = true;
        inside(*e);
        if (e && e->isVisible())
            button(e, 2)->click();
    });
    trigger();
    EXPECT_TRUE(ran);
    EXPECT_EQ(editor(), nullptr);
}

PhoneBookWindow* PhoneBookFixture::window() const
{
    return dialogs ? dialogs->phoneBookWindow() : nullptr;
}

PhoneBookEditor* PhoneBookFixture::editor() const
{
    return dialogs ? dialogs->editor() : nullptr;
}

QPushButton* PhoneBookFixture::button(const QWidget* dialog, int id)
{
    auto* b = dialog->findChild<QPushButton*>(QString::number(id));
    EXPECT_NE(b, nullptr) << "no button " << id;
    return b;
}

QLineEdit* PhoneBookFixture::edit(const QWidget* dialog, int id)
{
    auto* e = dialog->findChild<QLineEdit*>(QString::number(id));
    EXPECT_NE(e, nullptr) << "no field " << id;
    return e;
}

QStringList PhoneBookFixture::rows(const PhoneBookWindow& window)
{
    const QAbstractItemModel* m = window.view()->model();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r) {
        out << m->index(r, 0).data().toString() + "|" + m->index(r, 1).data().toString() + "|" +
                   m->index(r, 2).data().toString();
    }
    return out;
}

void PhoneBookFixture::selectRow(PhoneBookWindow& window, int row)
{
    QTreeView* view = window.view();
    view->selectionModel()->select(view->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QStringList PhoneBookFixture::callLogNames() const
{
    QStringList names;
    for (int r = 0; r < app->core().callLog().size(); ++r)
        names << QString::fromLatin1(app->core().callLog().at(r).callerName.c_str());
    return names;
}

} // namespace test
