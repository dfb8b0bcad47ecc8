#include "calllog/ShownCaller.h"

#include "calllog/CallLog.h"
#include "platform/Cp1252.h"

QString ShownCaller::number(const std::string& stored)
{
    if (stored == kUnknownNumber)
        return tr("Ukjent nummer");
    return cp1252::toQString(stored);
}

QString ShownCaller::name(const std::string& stored)
{
    if (stored == kUnknownName)
        return tr("???");
    return cp1252::toQString(stored);
}
