#include "calls/CallPopupController.h"

#include "calllog/ShownCaller.h"
#include "calls/CallPopup.h"
#include "platform/Cp1252.h"

#include <QGuiApplication>
#include <QScreen>

CallPopupController::CallPopupController(QObject* parent) : QObject(parent) {}

CallPopupController::~CallPopupController()
{
    delete m_popup;
}

void CallPopupController::showCallPopup(const std::string& callerNumber, const std::string& msn,
                                        const std::string& callerName, bool numberDelivered,
                                        bool inPhoneBook)
{
    if (!m_popup) {
        m_popup = new CallPopup;
        connect(m_popup, &CallPopup::closeRequested, this, &CallPopupController::CloseCallPopup);
        // The number goes into the phone book as it is stored, not as the
        // popup shows it (in the language of the windows).
        connect(m_popup, &CallPopup::addToPhoneBook, this, [this] {
            if (m_addNumber)
                m_addNumber(m_callerNumber);
        });
        // Centred on the screen the first time; a popup that is already open
        // keeps the place the user may have moved it to.
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect d = screen->geometry();
            const QSize size = m_popup->frameGeometry().size();
            m_popup->move(d.x() + d.width() / 2 - size.width() / 2,
                          d.y() + d.height() / 2 - size.height() / 2);
        }
        m_popup->show();
    }
    m_popup->raise();
    m_popup->activateWindow();
    m_callerNumber = cp1252::toQString(callerNumber);
    m_popup->setCall(ShownCaller::number(callerNumber), ShownCaller::number(msn),
                     ShownCaller::name(callerName), numberDelivered && !inPhoneBook);
    // Painted now: the sounds that follow keep the program busy.
    m_popup->repaint();
}

CallPopup* CallPopupController::popup() const
{
    return m_popup.data();
}

void CallPopupController::CloseCallPopup()
{
    if (!m_popup)
        return;
    // Never deleted from inside one of its own handlers (the close timer can
    // fire while its "-> Katalog" editor is open): hidden now, gone later.
    CallPopup* popup = m_popup;
    m_popup = nullptr;
    popup->hide();
    popup->deleteLater();
}
