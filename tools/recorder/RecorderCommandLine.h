#pragma once

#include <QString>
#include <QStringList>

// `ringvakt-recorder /NEW <path>`, --help and --version.
struct RecorderCommandLine
{
    enum class Action
    {
        Record,
        Help,
        Version,
        Error
    };
    Action action = Action::Error;
    QString path;  // Record: the file to write
    QString error; // Error: what was wrong
};

// Parses the arguments after the program name. "/NEW" is accepted in any
// letter case, as the platform's recorder took it.
RecorderCommandLine parseRecorderCommandLine(const QStringList& arguments);

QString recorderUsage();
QString recorderVersion();
