#include "settings/IntroOutroSounds.h"

#include "platform/MessageBoxes.h"
#include "platform/RecorderStarter.h"
#include "platform/SoundFiles.h"
#include "platform/SoundOutput.h"

#include <QCoreApplication>
#include <QFile>
#include <optional>

namespace introoutro {

namespace {

// The question is the settings dialog's, where the buttons are.
struct IntroOutroTexts
{
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)
};

// The file as it is there, in whatever case, or else the path it gets.
std::optional<QString> existingOrNewPath(const QString& dataDir, const std::string& fileName)
{
    if (std::optional<QString> found = soundfiles::findExisting(dataDir, fileName))
        return found;
    return soundfiles::pathFor(dataDir, fileName);
}

} // namespace

void play(SoundOutput& sound, const QString& dataDir, const std::string& fileName)
{
    if (const std::optional<QString> path = existingOrNewPath(dataDir, fileName))
        sound.playFile(*path);
}

void record(RecorderStarter& recorder, const QString& dataDir, const std::string& fileName)
{
    // Recording over a file that is there in another letter case replaces
    // it, as it did where case never mattered, instead of adding a second
    // file beside it.
    if (const std::optional<QString> path = existingOrNewPath(dataDir, fileName))
        recorder.startRecorder(*path);
}

void remove(QWidget* owner, const QString& dataDir, const std::string& fileName)
{
    if (msgbox::question(owner, QStringLiteral("Ringvakt"),
                         IntroOutroTexts::tr("Vil du virklig slette denne lyd-filen ?")) ==
        msgbox::Answer::No)
        return;
    if (const std::optional<QString> path = soundfiles::findExisting(dataDir, fileName))
        QFile::remove(*path);
}

} // namespace introoutro
