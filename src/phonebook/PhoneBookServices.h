#pragma once

#include <QString>

class CallLog;
class QWidget;
class RecorderStarter;
class SoundOutput;
struct Settings;

// What the phone book window and the entry editor need from the program.
// Everything is owned by the program and outlives the windows.
struct PhoneBookServices
{
    // The main window: owner of the phone book window, the editor and their
    // message boxes' windows. Both are modal to it alone.
    QWidget* owner;
    QString dataDir;
    // Reloaded after every change so that the callers' names follow the book.
    CallLog& callLog;
    // The names of the intro and outro, which the purge of sounds keeps.
    const Settings& settings;
    SoundOutput& sound;
    RecorderStarter& recorder;
};
