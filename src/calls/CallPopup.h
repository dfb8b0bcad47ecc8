#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

// "Du blir oppringt av:": the caller's name, number and the MSN called. A
// top-level window of its own, owned by no other window, so it stays usable
// while any dialog of the program is open.
class CallPopup : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 103;

    CallPopup();

    void setCall(const QString& callerNumber, const QString& msn, const QString& callerName,
                 bool addEnabled);

    QString callerNumberText() const;
    // "-> Katalog", for tests to press.
    QPushButton* addButton() const { return m_add; }

signals:
    // The title-bar close: the controller closes the popup.
    void closeRequested();
    // "-> Katalog" with the number of field 1003.
    void addToPhoneBook(const QString& number);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* m_name;
    QLineEdit* m_number;
    QLineEdit* m_msn;
    QPushButton* m_add;
};
