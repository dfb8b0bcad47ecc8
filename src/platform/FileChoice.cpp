#include "platform/FileChoice.h"

#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <QStandardPaths>

namespace filechoice {

namespace {

// The folder the last dialog was left in: the next opens there.
QString& lastFolder()
{
    static QString folder;
    return folder;
}

QString run(QWidget* owner, const QString& caption, const QString& filter, bool save,
            const QString& start)
{
    QPointer<QFileDialog> dialog = new QFileDialog(owner, caption, start, filter);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    // Its own texts ("Se i:", "Filnavn:", "Lagre", "Avbryt") are Qt's, in
    // the language of the windows: the translations installed at start.
    if (save) {
        // The suffix of the chosen type when the user types a bare name.
        const int dot = start.lastIndexOf(QLatin1Char('.'));
        if (dot > 0)
            dialog->setDefaultSuffix(start.mid(dot + 1));
    }
    QString chosen;
    // The owner may go while the dialog runs (the program ending): the
    // dialog goes with it, and nothing is chosen.
    if (dialog->exec() == QDialog::Accepted && dialog && !dialog->selectedFiles().isEmpty())
        chosen = dialog->selectedFiles().first();
    if (dialog)
        lastFolder() = dialog->directory().absolutePath();
    delete dialog;
    return chosen;
}

} // namespace

QString openFile(QWidget* owner, const QString& caption, const QString& filter)
{
    const QString folder = lastFolder();
    return run(owner, caption, filter, false,
               folder.isEmpty() || !QDir(folder).exists() ? QDir::homePath() : folder);
}

QString saveFile(QWidget* owner, const QString& caption, const QString& name, const QString& filter)
{
    QString folder = lastFolder();
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return run(owner, caption, filter, true, folder + QLatin1Char('/') + name);
}

} // namespace filechoice
