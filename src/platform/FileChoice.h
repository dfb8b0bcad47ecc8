#pragma once

#include <QString>

class QWidget;

// The program's file dialogs, in the language of the windows where the
// dialog is Qt's own (a desktop's native dialog speaks the desktop's
// language); the caller gives the caption and the filter in that language. Each is modal to
// its owner's window and returns the chosen path, or an empty text when the
// user cancelled. Each opens in the folder the last one was left in, while
// the program runs.
namespace filechoice {

// A file to read, from the user's home folder on (at first).
QString openFile(QWidget* owner, const QString& caption, const QString& filter);

// A file to write, `name` suggested in the user's documents folder (at
// first); the dialog asks before an existing file is replaced.
QString saveFile(QWidget* owner, const QString& caption, const QString& name,
                 const QString& filter);

} // namespace filechoice
