#include "contacts/TextDecoding.h"

#include "platform/Cp1252.h"

#include <QByteArrayView>
#include <QStringDecoder>

namespace textdecoding {

namespace {

bool decodeStrictly(QStringDecoder& decoder, std::string_view bytes, QString* text)
{
    *text = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError();
}

} // namespace

bool isUtf8(std::string_view bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text;
    return decodeStrictly(decoder, bytes, &text);
}

QString decodeGuessing(std::string_view bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text;
    if (decodeStrictly(decoder, bytes, &text))
        return text;
    return cp1252::toQString(bytes);
}

QString decodeCharset(std::string_view bytes, const QString& charset)
{
    const QString name = charset.trimmed().toLower();
    if (name == QLatin1String("windows-1252") || name == QLatin1String("cp1252") ||
        name == QLatin1String("iso-8859-1") || name == QLatin1String("latin1"))
        return cp1252::toQString(bytes);
    // Phones label UTF-8 as US-ASCII, the old default, as often as not.
    if (name.isEmpty() || name == QLatin1String("utf-8") || name == QLatin1String("us-ascii"))
        return decodeGuessing(bytes);
    QStringDecoder decoder(name.toLatin1().constData());
    QString text;
    if (decoder.isValid() && decodeStrictly(decoder, bytes, &text))
        return text;
    return decodeGuessing(bytes);
}

} // namespace textdecoding
