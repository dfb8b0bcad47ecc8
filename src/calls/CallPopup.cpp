#include "calls/CallPopup.h"

#include "phonebook/PhoneBook.h"
#include "platform/DialogBuilder.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CallPopup::CallPopup()
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    dialogbuilder::build(this, DialogTemplate::load(kTemplateId));
    m_name = dialogbuilder::control<QLineEdit>(this, 1004);
    m_number = dialogbuilder::control<QLineEdit>(this, 1003);
    m_msn = dialogbuilder::control<QLineEdit>(this, 1005);
    m_add = dialogbuilder::control<QPushButton>(this, 1037);

    setWindowTitle(QStringLiteral("Ringvakt"));
    dialogbuilder::control<QLabel>(this, 1076)->setText(tr("Du blir oppringt av:"));
    dialogbuilder::control<QLabel>(this, 1019)->setText(tr("Navn:"));
    dialogbuilder::control<QLabel>(this, 1018)->setText(tr("Tlf.Nummer:"));
    dialogbuilder::control<QLabel>(this, 1020)->setText(tr("Ringer til MSN:"));
    m_add->setText(tr("-> Katalog"));
    dialogbuilder::fit(this);
    dialogbuilder::tieFieldsToLabels(this);

    connect(m_add, &QPushButton::clicked, this,
            [this] { emit addToPhoneBook(callerNumberText()); });
}

void CallPopup::setCall(const QString& callerNumber, const QString& msn, const QString& callerName,
                        bool addEnabled)
{
    m_number->setText(callerNumber);
    m_msn->setText(msn);
    m_name->setText(callerName);
    m_add->setEnabled(addEnabled);
    m_number->setCursorPosition(0);
    m_msn->setCursorPosition(0);
    m_name->setCursorPosition(0);
}

QString CallPopup::callerNumberText() const
{
    return m_number->text().left(int(kMaxPhoneBookField));
}

void CallPopup::closeEvent(QCloseEvent* event)
{
    // The controller decides: it hides the popup and lets it go later, so
    // that a close from inside one of the popup's own handlers is safe.
    event->ignore();
    emit closeRequested();
}

void CallPopup::keyPressEvent(QKeyEvent* event)
{
    // Escape does nothing here; Enter presses "-> Katalog" when it is enabled.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
