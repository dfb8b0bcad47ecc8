#pragma once

#include <QDialog>

// "Om Ringvakt": name, version, a reminder to send feedback and the credit
// for the Norwegian translation. Escape does not close it.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 102;

    explicit AboutBox(QWidget* owner);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
};
