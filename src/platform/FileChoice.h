#pragma once

#include <QString>

class QWidget;

// The program's file dialogs, in Norwegian where the dialog is Qt's own (a
// desktop's native dialog speaks the desktop's language). Each is modal to
// its owner's window and returns the chosen path, or an empty text when the
// user cancelled.
namespace filechoice {

// A file to read, from the user's home folder on.
QString openFile(QWidget* owner, const QString& caption, const QString& filter);

// A file to write, `name` in the user's documents folder suggested; the
// dialog asks before an existing file is replaced.
QString saveFile(QWidget* owner, const QString& caption, const QString& name,
                 const QString& filter);

} // namespace filechoice
