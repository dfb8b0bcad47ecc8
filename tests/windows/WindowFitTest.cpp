#include "RecorderWindow.h"
#include "UntranslatedTexts.h"
#include "calllog/CallLog.h"
#include "calllog/CallLogModel.h"
#include "calllog/CallLogWindow.h"
#include "calllog/ShownCaller.h"
#include "calls/CallPopup.h"
#include "calls/CallPopupController.h"
#include "outcomes/CallOutcomes.h"
#include "phonebook/PhoneBookDialogs.h"
#include "phonebook/PhoneBookEditor.h"
#include "phonebook/PhoneBookWindow.h"
#include "platform/DialogLayout.h"
#include "settings/Settings.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsStore.h"
#include "shell/AboutBox.h"
#include "shell/MainWindow.h"
#include "shell/ProgramLanguage.h"
#include "shell/TrayIcon.h"
#include "support/FakeClock.h"
#include "support/FakeRecorderStarter.h"
#include "support/FakeSoundOutput.h"
#include "support/QtPrinting.h"
#include "support/TempDataDir.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

// Every window of the program, filled as a user sees it, at the font the
// application has now, in the language installed now.
class Windows
{
public:
    Windows()
    {
        // The tray as it looks when the line is gone and calls were missed
        // (the last one by a caller who kept the number back).
        tray.SetTrayMode(OperatingMode::Enabled, false);
        tray.setLineLost(true, QDateTime(QDate(2026, 12, 7), QTime(17, 20, 53)));
        tray.setMissedCalls(3, ShownCaller::number(kUnknownNumber), QStringLiteral("17:20"));
        dir.write("PhoneBk.dat",
                  "Hansen\r\nKari\r\n22123456\r\nNordmann-Bergersen\r\nOla Kristian\r\n"
                  "004930123456789\r\n");
        std::string calls;
        for (int i = 0; i < 30; ++i)
            calls += "07-Des-2026\r\n17:20:53\r\n22123456\r\n" +
                     std::string(i % 2 ? "Ukjent nummer" : "004930123456789") + "\r\n";
        dir.write("CallID.dat", calls);
        store = std::make_unique<IniSettingsStore>(dir.file("Ringvakt.ini"));
        LoadSettings(settings, *store);
        LoadCallLog(log);
        // What became of the first calls: every kind of status.
        outcomes.set(0, {CallState::Voicemail, 40, {}, false, {}});
        outcomes.set(1, {CallState::Answered, 4335, {}, false, {}});
        outcomes.set(2, {CallState::Missed, 0, {}, false, {}});
    }

    // Each window in turn, shown, handed to `visit` with its name.
    void each(const std::function<void(const QString&, QWidget&)>& visit)
    {
        // The call log with the tray's commands in its menu bar, as where
        // there is no tray.
        MainWindow main;
        auto* callLog = new CallLogWindow(log, &main, &outcomes);
        main.setCallLogWindow(callLog);
        main.setTrayPresent(false, tray.menu());
        main.show();
        visit(QStringLiteral("call-log"), main);
        main.hide();

        AboutBox about(&main);
        about.show();
        visit(QStringLiteral("about"), about);

        SettingsDialog settingsDialog(&main, {settings, *store, sound, recorder, dir.path()});
        settingsDialog.show();
        visit(QStringLiteral("settings"), settingsDialog);

        // A call to a number the line did not deliver.
        CallPopupController popups;
        popups.showCallPopup("004930123456789", kUnknownNumber, "Ola Kristian Nordmann-Bergersen",
                             true, true);
        visit(QStringLiteral("popup"), *popups.popup());

        PhoneBookDialogs dialogs({&main, dir.path(), log, settings, sound, recorder});
        PhoneBookWindow phoneBook(dialogs);
        phoneBook.show();
        visit(QStringLiteral("phone-book"), phoneBook);
        PhoneBookEditor editor(phoneBook, dialogs.services());
        editor.show();
        visit(QStringLiteral("editor"), editor);
        editor.hide();
        phoneBook.hide();

        RecorderWindow recorderWindow(dir.file("sound/Intro.wav"));
        recorderWindow.show();
        visit(QStringLiteral("recorder"), recorderWindow);
    }

    test::TempDataDir dir;
    TrayIcon tray;
    CallLog log{dir.path()};
    CallOutcomes outcomes{log};
    Settings settings;
    std::unique_ptr<IniSettingsStore> store;
    test::FakeSoundOutput sound;
    test::FakeRecorderStarter recorder;
};

// What of a control's text does not fit inside it, or empty.
QString misfit(const QWidget& w)
{
    const QFontMetrics fm(w.font());
    const auto widest = [&](const QString& text) {
        int width = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            width = qMax(width, fm.horizontalAdvance(line));
        return width;
    };
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        if (label->text().isEmpty())
            return {};
        // A label that a layout places (the recorder's) wraps its lines to
        // its width; the templates' labels must hold their lines whole.
        if (label->wordWrap() && !label->property(dialogbuilder::kRectProperty).isValid())
            return label->heightForWidth(label->contentsRect().width()) >
                           label->contentsRect().height()
                       ? label->text()
                       : QString();
        const QRect inside = label->contentsRect();
        const int lines = int(label->text().count(QLatin1Char('\n'))) + 1;
        if (widest(label->text()) > inside.width() || lines * fm.height() > inside.height())
            return label->text();
        return {};
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&w)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        const int room =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() - 4;
        // A field of data may be longer than its field, but is shown from
        // its start; the intro's and outro's names always fit whole.
        const bool wholeNeeded = edit->objectName() == QLatin1String("1057") ||
                                 edit->objectName() == QLatin1String("1063");
        const bool fits = fm.horizontalAdvance(edit->text()) <= room;
        if ((!fits && (wholeNeeded || edit->cursorPosition() != 0)) ||
            fm.height() > edit->height() - 4)
            return edit->text();
        return {};
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w)) {
        if (button->text().isEmpty())
            return {};
        // Where the style puts the text of a check box or radio button; the
        // button's face less its margins for a push button.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        int room = button->width() -
                   2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
        if (qobject_cast<const QCheckBox*>(button))
            room = button->style()
                       ->subElementRect(QStyle::SE_CheckBoxContents, &option, button)
                       .width();
        else if (qobject_cast<const QRadioButton*>(button))
            room = button->style()
                       ->subElementRect(QStyle::SE_RadioButtonContents, &option, button)
                       .width();
        if (fm.horizontalAdvance(button->text()) > room || fm.height() > button->height())
            return button->text();
        return {};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&w)) {
        if (widest(group->title()) > group->width())
            return group->title();
    }
    return {};
}

// The call log's statuses that its list would show cut.
QStringList cutStatuses(const QTreeView& list)
{
    QStringList cut;
    if (!qobject_cast<const CallLogModel*>(list.model()))
        return cut;
    const int column = CallLogModel::kStatusColumn;
    const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    const QFontMetrics fm(list.font());
    for (int row = 0; row < list.model()->rowCount(); ++row) {
        const QString status = list.model()->index(row, column).data().toString();
        if (fm.horizontalAdvance(status) + 2 * margin > list.columnWidth(column))
            cut << status;
    }
    return cut;
}

// Controls of a group box that reach up into its title (the group's first
// line of text).
QStringList underTitle(QWidget& window)
{
    QStringList found;
    for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
        const int firstFreeY = group->y() + QFontMetrics(group->font()).height();
        for (QWidget* w : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w != group && group->geometry().contains(w->geometry()) && w->y() < firstFreeY)
                found << group->title() + QStringLiteral(": ") + w->objectName();
        }
    }
    return found;
}

// The texts of the window that are left in Norwegian where the language
// says them in other words.
QStringList leftUntranslated(const UntranslatedTexts& untranslated, const QStringList& texts)
{
    QStringList left;
    for (const QString& text : texts) {
        const QString source = untranslated.sourceOf(text);
        if (!source.isEmpty())
            left << text;
    }
    return left;
}

// Every window in the language installed now (`language`), at the font the
// application has now (`size`): no text cut or left in Norwegian.
void checkWindows(const QString& language, const char* size)
{
    const QString shots = qEnvironmentVariable("RINGVAKT_SCREENSHOT_DIR");
    std::optional<UntranslatedTexts> untranslated;
    if (language != QLatin1String("nb")) {
        untranslated.emplace(language);
        EXPECT_GT(untranslated->size(), 100)
            << "the texts of ringvakt_" << language.toStdString() << ".ts were not read";
    }
    Windows windows;
    if (untranslated) {
        EXPECT_EQ(leftUntranslated(*untranslated, windows.tray.toolTip().split('\n')),
                  QStringList())
            << language.toStdString() << ": the tray's tooltip";
    }
    windows.each([&](const QString& name, QWidget& window) {
        QApplication::processEvents();
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            window.grab().save(QStringLiteral("%1/%2-%3-%4.png").arg(shots, name, language, size));
        }
        const std::string where =
            name.toStdString() + " in " + language.toStdString() + " at " + size;
        if (untranslated) {
            EXPECT_EQ(leftUntranslated(*untranslated, readableTexts(window)), QStringList())
                << where;
        }
        QStringList misfits;
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&window))
                continue;
            const QString cut = misfit(*w);
            if (!cut.isEmpty())
                misfits << w->objectName() + QStringLiteral(" \"") + cut + QLatin1Char('"');
        }
        EXPECT_EQ(misfits, QStringList()) << where;
        EXPECT_EQ(underTitle(window), QStringList()) << where;
        // Whatever a user can reach has a name for screen readers, and a
        // radio button is one.
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&window) || w->focusPolicy() == Qt::NoFocus ||
                qobject_cast<QScrollBar*>(w) || w->inherits("QHeaderView") ||
                w->parentWidget() != &window)
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(accessible, nullptr);
            EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
                << name.toStdString() << ": " << w->metaObject()->className() << " "
                << w->objectName().toStdString() << " has no name";
            if (qobject_cast<QRadioButton*>(w)) {
                EXPECT_EQ(accessible->role(), QAccessible::RadioButton)
                    << w->objectName().toStdString();
            }
        }
        for (const QTreeView* list : window.findChildren<QTreeView*>()) {
            EXPECT_FALSE(list->horizontalScrollBar()->isVisible())
                << where << ": the columns do not fit";
            EXPECT_EQ(cutStatuses(*list), QStringList()) << where;
        }
    });
}

// Each language as the program installs it, at the default font and at 1.5
// times it.
void checkLanguage(const char* code)
{
    const QString language = QString::fromLatin1(code);
    ProgramLanguage installed;
    installed.install(language);
    const QFont original = QApplication::font();
    checkWindows(language, "normal");
    QFont larger = original;
    larger.setPointSizeF(original.pointSizeF() * 1.5);
    QApplication::setFont(larger);
    checkWindows(language, "large");
    QApplication::setFont(original);
}

} // namespace

TEST(WindowFit, NorwegianTextsFitAtTheDefaultFontAndOneAndAHalfTimesIt)
{
    checkLanguage("nb");
}

TEST(WindowFit, EnglishLeavesNoNorwegianAndFits)
{
    checkLanguage("en");
}

TEST(WindowFit, GermanLeavesNoNorwegianAndFits)
{
    checkLanguage("de");
}
