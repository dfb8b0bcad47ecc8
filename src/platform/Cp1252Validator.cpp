#include "platform/Cp1252Validator.h"

#include "platform/Cp1252.h"

QValidator::State Cp1252Validator::validate(QString& input, int& pos) const
{
    Q_UNUSED(pos);
    // A line break or another control character in a field would end up in
    // a data file whose lines are its records.
    for (const QChar c : input) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return Invalid;
    }
    return cp1252::canEncode(input) ? Acceptable : Invalid;
}
