#include "platform/MessageBoxes.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <cstdio>

namespace msgbox {

namespace {

// The buttons' texts, in the language of the windows.
struct MessageBoxTexts
{
    Q_DECLARE_TR_FUNCTIONS(MessageBoxes)
};

struct Ahead
{
    bool active = false;
    std::deque<Answer> answers;
    std::vector<Shown> shown;
};

Ahead& ahead()
{
    static Ahead a;
    return a;
}

// A program started by an end-to-end test has nobody to answer its boxes:
// with RINGVAKT_MESSAGEBOX_LOG set, each box is appended to that file and
// answered with its first button instead of being shown.
bool logInsteadOfShowing(const QString& caption, const QString& text)
{
    const QByteArray path = qgetenv("RINGVAKT_MESSAGEBOX_LOG");
    if (path.isEmpty())
        return false;
    QFile log(QFile::decodeName(path));
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        QString line = caption + QLatin1Char('\t') + text;
        line.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        log.write((line + QLatin1Char('\n')).toUtf8());
    }
    return true;
}

bool recordAhead(const Shown& box, Answer* answer)
{
    Ahead& a = ahead();
    if (!a.active)
        return false;
    const bool question = box.question;
    a.shown.push_back(box);
    if (!a.answers.empty()) {
        *answer = a.answers.front();
        a.answers.pop_front();
    } else {
        *answer = question ? Answer::Yes : Answer::Ok;
    }
    return true;
}

int runBox(QWidget* owner, const Shown& shown, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton)
{
    QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::NoIcon, shown.caption, shown.text, buttons, owner);
    box->setInformativeText(shown.detail);
    box->setDefaultButton(defaultButton);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    const std::pair<QMessageBox::StandardButton, QString> texts[] = {
        {QMessageBox::Yes, shown.yesText.isEmpty() ? MessageBoxTexts::tr("Ja") : shown.yesText},
        {QMessageBox::No, shown.noText.isEmpty() ? MessageBoxTexts::tr("Nei") : shown.noText},
        {QMessageBox::Ok, MessageBoxTexts::tr("OK")}};
    for (const auto& [which, label] : texts) {
        if (QAbstractButton* button = box->button(which))
            button->setText(label);
    }
    // Placed over its owner when the owner can be seen; otherwise (the main
    // window hidden in the tray, or not yet placed at start) in the middle
    // of the screen rather than wherever the hidden window happens to be.
    if (!owner || !owner->isVisible()) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            box->adjustSize();
            const QRect area = screen->availableGeometry();
            box->move(area.center() - QPoint(box->width() / 2, box->height() / 2));
        }
    }
    const int result = box->exec();
    delete box;
    return result;
}

} // namespace

Answer question(QWidget* owner, const QString& caption, const QString& text, const QString& detail)
{
    return question(owner, caption, text, detail, {}, {});
}

Answer question(QWidget* owner, const QString& caption, const QString& text, const QString& detail,
                const QString& yesText, const QString& noText)
{
    const Shown box{caption, text, true, detail, yesText, noText};
    Answer answer = Answer::Yes;
    if (recordAhead(box, &answer))
        return answer;
    if (logInsteadOfShowing(caption, text))
        return Answer::Yes;
    const int r = runBox(owner, box, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return r == QMessageBox::No ? Answer::No : Answer::Yes;
}

void inform(QWidget* owner, const QString& caption, const QString& text)
{
    const Shown box{caption, text, false, {}, {}, {}};
    Answer answer = Answer::Ok;
    if (recordAhead(box, &answer))
        return;
    if (logInsteadOfShowing(caption, text))
        return;
    runBox(owner, box, QMessageBox::Ok, QMessageBox::Ok);
}

void answerAhead(std::deque<Answer> answers)
{
    Ahead& a = ahead();
    a.active = true;
    a.answers = std::move(answers);
}

void showReal()
{
    ahead() = Ahead{};
}

const std::vector<Shown>& shown()
{
    return ahead().shown;
}

void clearShown()
{
    ahead().shown.clear();
}

} // namespace msgbox
