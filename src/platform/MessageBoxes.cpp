#include "platform/MessageBoxes.h"

#include <QAbstractButton>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <cstdio>

namespace msgbox {

namespace {

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

bool recordAhead(const QString& caption, const QString& text, bool question, const QString& detail,
                 Answer* answer)
{
    Ahead& a = ahead();
    if (!a.active)
        return false;
    a.shown.push_back({caption, text, question, detail});
    if (!a.answers.empty()) {
        *answer = a.answers.front();
        a.answers.pop_front();
    } else {
        *answer = question ? Answer::Yes : Answer::Ok;
    }
    return true;
}

int runBox(QWidget* owner, const QString& caption, const QString& text, const QString& detail,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::NoIcon, caption, text, buttons, owner);
    box->setInformativeText(detail);
    box->setDefaultButton(defaultButton);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Yes, "Ja"}, {QMessageBox::No, "Nei"}, {QMessageBox::Ok, "OK"}};
    for (const auto& [which, label] : texts) {
        if (QAbstractButton* button = box->button(which))
            button->setText(QString::fromUtf8(label));
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
    Answer answer = Answer::Yes;
    if (recordAhead(caption, text, true, detail, &answer))
        return answer;
    if (logInsteadOfShowing(caption, text))
        return Answer::Yes;
    const int r =
        runBox(owner, caption, text, detail, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return r == QMessageBox::No ? Answer::No : Answer::Yes;
}

void inform(QWidget* owner, const QString& caption, const QString& text)
{
    Answer answer = Answer::Ok;
    if (recordAhead(caption, text, false, {}, &answer))
        return;
    if (logInsteadOfShowing(caption, text))
        return;
    runBox(owner, caption, text, {}, QMessageBox::Ok, QMessageBox::Ok);
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
