#include "phonebook/PhoneBookDialogs.h"

#include "calllog/CallLog.h"
#include "phonebook/PhoneBook.h"
#include "phonebook/PhoneBookEditor.h"
#include "phonebook/PhoneBookWindow.h"
#include "platform/Cp1252.h"

#include <QTimer>

namespace {

// The most characters of a number that are taken over from a call.
constexpr int kMaxNumberLength = int(kMaxPhoneBookField);

std::string numberBytes(const QString& number)
{
    std::string bytes = cp1252::fromQString(number.left(kMaxNumberLength));
    // Numbers from the line end at a control byte already; a line break
    // must never reach a field of the book.
    const size_t lineBreak = bytes.find_first_of("\r\n");
    if (lineBreak != std::string::npos)
        bytes.resize(lineBreak);
    return bytes;
}

void raiseWindow(QWidget* window)
{
    if (window && window->isVisible()) {
        window->raise();
        window->activateWindow();
    }
}

} // namespace

PhoneBookDialogs::PhoneBookDialogs(const PhoneBookServices& services, QObject* parent)
    : QObject(parent), m_services(services)
{}

PhoneBookDialogs::~PhoneBookDialogs() = default;

PhoneBookWindow* PhoneBookDialogs::phoneBookWindow() const
{
    return m_window.data();
}

PhoneBookEditor* PhoneBookDialogs::editor() const
{
    return m_editor.data();
}

void PhoneBookDialogs::bringToFront()
{
    raiseWindow(m_window);
    // The editor last, so that it stays above the window it works on.
    raiseWindow(m_editor);
}

void PhoneBookDialogs::OpenPhoneBookWindow(bool importFirst)
{
    if (m_window) {
        bringToFront();
        if (importFirst && !m_editor)
            m_window->command(PhoneBookWindow::kImportCommand);
        return;
    }
    QPointer<PhoneBookWindow> window = new PhoneBookWindow(*this);
    m_window = window;
    window->setWindowModality(Qt::WindowModal);
    if (importFirst) {
        // Once the window shows, from inside its own event loop.
        QTimer::singleShot(0, window, [window] {
            if (window)
                window->command(PhoneBookWindow::kImportCommand);
        });
    }
    window->exec();
    // Not from inside one of the window's own handlers: its exec() is over.
    m_window = nullptr;
    delete window.data();
}

int PhoneBookDialogs::RunPhoneBookEditor(PhoneBookWindow& window)
{
    if (m_editor)
        return -1;
    QPointer<PhoneBookEditor> editor = new PhoneBookEditor(window, m_services);
    m_editor = editor;
    editor->setWindowModality(Qt::WindowModal);
    const int result = editor->exec();
    m_editor = nullptr;
    delete editor.data();
    if (result != 0)
        ReloadCallLog(m_services.callLog);
    return result == 0 ? 0 : 1;
}

void PhoneBookDialogs::AddNumberToPhoneBook(const QString& number)
{
    // One editor at a time, and no new row beneath one that is open.
    if (m_editor) {
        bringToFront();
        return;
    }
    const PhoneBookEntry provisional{{}, {}, numberBytes(number)};

    if (m_window) {
        // The phone book is open: the number goes into its list, where the
        // user sees it, and leaves it again unless the editor saved it.
        QPointer<PhoneBookWindow> window = m_window;
        const int row = window->addSelectedRow(provisional);
        const int result = RunPhoneBookEditor(*window);
        if (!window)
            return;
        if (result != 1)
            window->removeUnsavedRow(provisional, row);
        window->clearSelection();
        window->RefreshSoundIcons();
        return;
    }

    // No phone book window: one is made to hold the list, never shown, and
    // goes when the editor has closed.
    QPointer<PhoneBookWindow> host = new PhoneBookWindow(*this);
    m_window = host;
    host->addSelectedRow(provisional);
    RunPhoneBookEditor(*host);
    if (host)
        host->RefreshSoundIcons();
    if (m_window == host)
        m_window = nullptr;
    delete host.data();
}
