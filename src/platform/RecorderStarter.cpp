#include "platform/RecorderStarter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {
const char* const kRecorderName = "ringvakt-recorder";
}

ProcessRecorderStarter::ProcessRecorderStarter() : m_program(findRecorder()) {}

ProcessRecorderStarter::ProcessRecorderStarter(QString program) : m_program(std::move(program)) {}

QString ProcessRecorderStarter::findRecorder()
{
    const QString name = QString::fromLatin1(kRecorderName);
    // Beside the program: the installed layout and the build tree alike
    // (in the build tree the recorder lives in tools/recorder).
    if (QCoreApplication::instance()) {
        const QDir own(QCoreApplication::applicationDirPath());
        for (const QString& candidate :
             {own.filePath(name), own.filePath(QStringLiteral("../../tools/recorder/") + name)}) {
            const QFileInfo info(candidate);
            if (info.isFile() && info.isExecutable())
                return info.canonicalFilePath();
        }
    }
    return QStandardPaths::findExecutable(name);
}

bool ProcessRecorderStarter::startRecorder(const QString& wavPath)
{
    if (m_program.isEmpty() || wavPath.isEmpty())
        return false;
    // The recorder's own window says what it is doing; nothing is waited for.
    return QProcess::startDetached(m_program, {QStringLiteral("/NEW"), wavPath});
}
