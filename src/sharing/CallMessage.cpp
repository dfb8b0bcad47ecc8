#include "sharing/CallMessage.h"

#include "calllog/CallLog.h"
#include "line/LineCall.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

const QString CallMessage::kLineCapi = QStringLiteral("capi");
const QString CallMessage::kLineCallMonitor = QStringLiteral("callmonitor");
const QString CallMessage::kLineMqtt = QStringLiteral("mqtt");

namespace {

LocalDateTime localDateTimeOf(const QDateTime& when)
{
    LocalDateTime local;
    local.year = when.date().year();
    local.month = when.date().month();
    local.day = when.date().day();
    local.hour = when.time().hour();
    local.minute = when.time().minute();
    local.second = when.time().second();
    return local;
}

// A text of the message; empty when it is absent or not a text.
QString textOf(const QJsonObject& object, const QString& key)
{
    return object.value(key).toString();
}

// A telephone number of the message, checked by the call monitor's rule.
// Absent is empty; false when it is there and is not such a number.
bool numberOf(const QJsonObject& object, const QString& key, QString* number)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined()) {
        number->clear();
        return true;
    }
    if (!value.isString())
        return false;
    *number = value.toString();
    return LineCall::isTextNumber(number->toStdString());
}

} // namespace

CallMessage CallMessage::fromCall(const QDateTime& when, std::string_view msn,
                                  std::string_view callerNumber, bool numberDelivered,
                                  std::string_view callerName, bool inPhoneBook, QString line,
                                  QString host)
{
    CallMessage call;
    call.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    call.time = when;
    if (msn != kUnknownNumber)
        call.msn = cp1252::toQString(msn);
    call.numberDelivered = numberDelivered;
    if (numberDelivered)
        call.number = cp1252::toQString(callerNumber);
    call.known = inPhoneBook;
    if (inPhoneBook)
        call.name = cp1252::toQString(callerName);
    call.line = std::move(line);
    call.host = std::move(host);
    return call;
}

QByteArray CallMessage::toJson() const
{
    QJsonObject object;
    if (!id.isEmpty())
        object.insert(QStringLiteral("id"), id);
    if (time.isValid()) {
        // The offset is written out even for local time, so that a reader
        // in another zone knows the moment.
        const QDateTime withOffset = time.toOffsetFromUtc(time.offsetFromUtc());
        const LocalDateTime local = localDateTimeOf(time);
        object.insert(QStringLiteral("time"), withOffset.toString(Qt::ISODateWithMs));
        object.insert(QStringLiteral("date"), QString::fromStdString(FormatCallDate(local)));
        object.insert(QStringLiteral("clock"), QString::fromStdString(FormatCallTime(local)));
    }
    object.insert(QStringLiteral("msn"), msn);
    object.insert(QStringLiteral("number"), number);
    object.insert(QStringLiteral("name"), name);
    object.insert(QStringLiteral("known"), known);
    object.insert(QStringLiteral("numberDelivered"), numberDelivered);
    object.insert(QStringLiteral("line"), line);
    object.insert(QStringLiteral("host"), host);
    if (state) {
        object.insert(QStringLiteral("state"), QString::fromLatin1(callStateWord(*state)));
        if (isOutcome())
            object.insert(QStringLiteral("duration"), duration);
        if (!extension.isEmpty())
            object.insert(QStringLiteral("extension"), extension);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<CallMessage> CallMessage::parse(const QByteArray& bytes, QString* why)
{
    if (bytes.size() > kMaxSize) {
        *why = QStringLiteral("larger than %1 bytes (%2)").arg(kMaxSize).arg(bytes.size());
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        *why = QStringLiteral("not valid JSON (%1)").arg(error.errorString());
        return std::nullopt;
    }
    if (!document.isObject()) {
        *why = QStringLiteral("not a JSON object");
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    CallMessage call;
    if (!object.contains(QStringLiteral("number"))) {
        *why = QStringLiteral("no number");
        return std::nullopt;
    }
    if (!numberOf(object, QStringLiteral("number"), &call.number)) {
        *why = QStringLiteral("the number is not a telephone number");
        return std::nullopt;
    }
    if (!numberOf(object, QStringLiteral("msn"), &call.msn)) {
        *why = QStringLiteral("the MSN is not a telephone number");
        return std::nullopt;
    }
    const QJsonValue id = object.value(QStringLiteral("id"));
    if (!id.isUndefined() && (!id.isString() || id.toString().size() > kMaxIdLength)) {
        *why = QStringLiteral("the id is not a text of at most %1 characters").arg(kMaxIdLength);
        return std::nullopt;
    }
    call.id = id.toString();
    call.numberDelivered = !call.number.isEmpty();
    call.time = QDateTime::fromString(textOf(object, QStringLiteral("time")), Qt::ISODateWithMs);
    call.name = textOf(object, QStringLiteral("name"));
    call.known = object.value(QStringLiteral("known")).toBool();
    call.line = textOf(object, QStringLiteral("line"));
    call.host = textOf(object, QStringLiteral("host"));
    const std::optional<CallState> state =
        callStateOf(textOf(object, QStringLiteral("state")).toStdString());
    if (state && *state != CallState::Unknown)
        call.state = state;
    const QJsonValue duration = object.value(QStringLiteral("duration"));
    const double seconds = duration.toDouble(-1);
    if (duration.isDouble() && seconds >= 0 && seconds <= kMaxDuration && seconds == int(seconds))
        call.duration = int(seconds);
    QString extension;
    if (numberOf(object, QStringLiteral("extension"), &extension))
        call.extension = extension;
    return call;
}

bool CallMessage::isOutcome() const
{
    return state && *state != CallState::Ringing && *state != CallState::Unknown;
}
