#include "shell/AboutBox.h"

#include "platform/DialogBuilder.h"
#include "version/Version.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

AboutBox::AboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint)
{
    dialogbuilder::build(this, DialogTemplate::load(kTemplateId));
    setWindowTitle(tr("Om Ringvakt"));
    // The language of the windows, named in itself.
    dialogbuilder::control<QLabel>(this, 1010)
        ->setText(tr("Ringvakt V%1 (Norsk)").arg(QLatin1String(kRingvaktVersion)));
    dialogbuilder::control<QLabel>(this, 1014)
        ->setText(tr("Ikke glem å sende feedback.txt !\n"
                     "Norsk oversettelse ved Tornholt,\n"
                     "med takk til alle som har prøvd og rettet."));
    auto* ok = dialogbuilder::control<QPushButton>(this, 1);
    ok->setText(tr("OK"));
    connect(ok, &QPushButton::clicked, this, [this] { done(1); });
    dialogbuilder::fit(this);
}

void AboutBox::reject()
{
    // Escape: the box stays open. Only OK, Enter and the close button end it.
}

void AboutBox::closeEvent(QCloseEvent* event)
{
    event->accept();
    done(1);
}
