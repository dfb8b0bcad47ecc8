#pragma once

#include "calls/IncomingCall.h"

#include <QObject>
#include <QPointer>
#include <functional>

class CallPopup;

// Keeps the one call popup: opens it centred on the first call, reuses it for
// later calls without moving it, and closes it from its close button or the
// close timer.
class CallPopupController : public QObject, public CallPopupPresenter
{
    Q_OBJECT
public:
    using AddNumberHandler = std::function<void(const QString& number)>;

    explicit CallPopupController(QObject* parent = nullptr);
    ~CallPopupController() override;

    void showCallPopup(const std::string& callerNumber, const std::string& msn,
                       const std::string& callerName, bool numberDelivered,
                       bool inPhoneBook) override;
    void CloseCallPopup();
    void closeCallPopup() override { CloseCallPopup(); }

    // What "-> Katalog" does with the number (the phone book's one-step add).
    void setAddNumberHandler(AddNumberHandler handler) { m_addNumber = std::move(handler); }

    // The open popup, or nullptr.
    CallPopup* popup() const;

private:
    QPointer<CallPopup> m_popup;
    AddNumberHandler m_addNumber;
    // The caller's number of the call shown, as the call log stores it.
    QString m_callerNumber;
};
