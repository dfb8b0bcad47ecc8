#pragma once

#include <QString>
#include <string>

class QWidget;
class RecorderStarter;
class SoundOutput;

// Play, Record and Delete of the intro and outro ("Intro.wav", "Outro.wav"
// in "sound/"). They take effect at once, whatever the dialog's ticks hold.
namespace introoutro {

// Plays the file in whatever case its letters have, and returns when it has
// ended; a missing file plays the default sound.
void play(SoundOutput& sound, const QString& dataDir, const std::string& fileName);

// Starts the recorder for the file without waiting for it.
void record(RecorderStarter& recorder, const QString& dataDir, const std::string& fileName);

// Asks the user first, in a box owned by `owner`; on any answer but No the
// file is deleted (a file that is not there, or cannot go, is not reported).
void remove(QWidget* owner, const QString& dataDir, const std::string& fileName);

} // namespace introoutro
