#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>

// How the windows show the caller's fields that the call log stores. The
// stored "Ukjent nummer" and "???" stay as they are in the files and on the
// broker, whatever the language; the windows, the popup, the tray and the
// notifications show them in the language of the windows. Every other text
// is shown as it stands.
class ShownCaller
{
    // Shown first and most in the call log's list.
    Q_DECLARE_TR_FUNCTIONS(CallLogModel)

public:
    // A caller's number or the MSN called, as stored (code page 1252).
    static QString number(const std::string& stored);
    // A caller's name as stored.
    static QString name(const std::string& stored);
};
