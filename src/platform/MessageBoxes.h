#pragma once

#include <QString>
#include <deque>
#include <vector>

class QWidget;

// Every message box of the program goes through here, so that tests can
// answer boxes ahead of time instead of waiting on a real modal box.
//
// A box is modal to its owner's window only: the popup and the tray menu
// stay usable while it is open. Its buttons are "Ja", "Nei" and "OK" in the
// language of the windows; the caller gives its texts in that language. A
// box whose owner is not shown (the main window is hidden while the program
// sits in the tray) is centred on the screen.
namespace msgbox {

enum class Answer
{
    Ok,
    Yes,
    No
};

// Yes and No ("Ja", "Nei"); returns the answer. `detail`, when given, is
// shown under the text (what the question is about, for instance the entry
// that would be deleted).
Answer question(QWidget* owner, const QString& caption, const QString& text,
                const QString& detail = {});
// The same with buttons that name what they do ("Importer", "Avbryt"):
// Yes is the first, No the second, which Escape also takes.
Answer question(QWidget* owner, const QString& caption, const QString& text, const QString& detail,
                const QString& yesText, const QString& noText);
// An OK button only.
void inform(QWidget* owner, const QString& caption, const QString& text);

// What a box showed, as recorded for tests.
struct Shown
{
    QString caption;
    QString text;
    bool question = false;
    QString detail;
    // The buttons' texts, when a question names its own.
    QString yesText;
    QString noText;
};

// Tests: from now on no box is shown; each is recorded and answered with the
// next queued answer (Yes for a question and OK otherwise when none is
// queued).
void answerAhead(std::deque<Answer> answers = {});
// Back to real boxes; forgets what was recorded.
void showReal();
const std::vector<Shown>& shown();
void clearShown();

} // namespace msgbox
