#pragma once

#include <QString>
#include <QStringList>

// The command line of ringvakt.
struct ProgramOptions
{
    enum class Action
    {
        Run,
        Help,
        Version,
        Autostart,
        Import,          // --import FILE
        ExportCalls,     // --export-calls FILE
        ExportPhoneBook, // --export-phonebook FILE
        UsageError,      // `error` says what is wrong; usage goes to standard error
    };
    Action action = Action::Run;
    QString dataDir;           // --data-dir DIR
    bool desktopData = false;  // --desktop-data
    bool sessionStart = false; // --session-start
    bool autostartOn = false;  // --autostart on|off
    QString file;              // the file of an import or export
    QString error;
};

// The arguments after the program's name.
ProgramOptions parseProgramOptions(const QStringList& arguments);

QString programUsage();
QString programVersion(); // "Ringvakt <version>"

// The directory the call log, the phone book and the sounds live in: the
// one given, the desktop's data directory for the program
// ($XDG_DATA_HOME/Ringvakt), or the working directory. It is created when
// missing. Empty, with *error set, when it cannot be had.
QString resolveDataDir(const ProgramOptions& options, QString* error);

// $XDG_DATA_HOME/Ringvakt, or ~/.local/share/Ringvakt.
QString desktopDataDir();
