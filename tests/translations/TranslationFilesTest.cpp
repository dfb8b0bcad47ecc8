#include "support/QtPrinting.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

namespace {

// A message of a Qt Linguist file, by context, source text and comment.
using MessageKey = std::tuple<QString, QString, QString>;

struct Message
{
    // Empty for a finished translation; "unfinished", "vanished", "obsolete".
    QString type;
    // The translation, or one per plural form.
    QStringList translations;
};

struct LinguistFile
{
    QString language;
    std::map<MessageKey, Message> messages;
};

LinguistFile readLinguistFile(const QString& path)
{
    LinguistFile file;
    QFile in(path);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&in);
    QString context, source, comment;
    bool numerus = false;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            if (xml.isEndElement() && xml.name() == QLatin1String("message"))
                file.messages[{context, source, comment}] = message;
            continue;
        }
        const auto name = xml.name();
        if (name == QLatin1String("TS")) {
            file.language = xml.attributes().value(QLatin1String("language")).toString();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            source.clear();
            comment.clear();
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            message = {};
        } else if (name == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            // A plural text has its forms inside, read one by one below.
            if (!numerus)
                message.translations = {xml.readElementText()};
        } else if (name == QLatin1String("numerusform")) {
            message.translations << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return file;
}

QString program(const QString& path, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(path, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return path + QStringLiteral(" did not finish");
    *output = QString::fromLocal8Bit(process.readAll());
    if (process.exitCode() != 0)
        return path + QStringLiteral(" failed: ") + *output;
    return {};
}

// The numbered place markers of a text (%1, %L2), which a translation must
// keep. (%n may go where a plural form says the number in words.)
QStringList markers(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("%L?([0-9]+)"));
    QStringList out;
    for (const QRegularExpressionMatch& m : marker.globalMatch(text))
        out << m.captured(1);
    out.sort();
    out.removeDuplicates();
    return out;
}

// What is wrong with the translation of one text, or nothing.
QString problem(const LinguistFile& file, const MessageKey& key)
{
    const auto it = file.messages.find(key);
    if (it == file.messages.end())
        return QStringLiteral("missing (run scripts/update-translations)");
    const Message& m = it->second;
    if (!m.type.isEmpty())
        return m.type;
    if (m.translations.isEmpty())
        return QStringLiteral("empty");
    for (const QString& text : m.translations) {
        if (text.isEmpty())
            return QStringLiteral("empty");
        if (markers(text) != markers(std::get<1>(key)))
            return QStringLiteral("place markers differ: ") + text;
    }
    return {};
}

std::string describe(const MessageKey& key)
{
    QString source = std::get<1>(key);
    source.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return (std::get<0>(key) + QStringLiteral(" \"") + source + QLatin1Char('"')).toStdString();
}

} // namespace

TEST(TranslationFiles, EveryTextOfTheWindowsHasAFinishedTranslation)
{
    const QString root = QStringLiteral(RINGVAKT_SOURCE_DIR);
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());

    // The texts of the sources and templates as they are now, found as
    // scripts/update-translations finds them: a text added without running
    // it is found all the same.
    QString output;
    const QString templateTexts = work.filePath(QStringLiteral("TemplateTexts.cpp"));
    ASSERT_EQ(program(QStringLiteral(RINGVAKT_CMAKE),
                      {QStringLiteral("-DRESOURCES=") + root + QStringLiteral("/resources"),
                       QStringLiteral("-DOUTPUT=") + templateTexts, QStringLiteral("-P"),
                       root + QStringLiteral("/translations/TemplateTexts.cmake")},
                      &output),
              QString());
    const QString found = work.filePath(QStringLiteral("found.ts"));
    ASSERT_EQ(
        program(QStringLiteral(RINGVAKT_LUPDATE),
                {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                 root + QStringLiteral("/src"), root + QStringLiteral("/tools/recorder"),
                 templateTexts, QStringLiteral("-ts"), found},
                &output),
        QString());
    // lupdate warns of a tr() it cannot tie to a context (a class without
    // Q_OBJECT or Q_DECLARE_TR_FUNCTIONS): its translation would never be
    // found while the program runs.
    EXPECT_EQ(output, QString());
    const LinguistFile texts = readLinguistFile(found);
    ASSERT_TRUE(texts.messages.count({"SettingsDialog", "Automatisk", ""}))
        << "lupdate found no texts of the windows";
    ASSERT_TRUE(texts.messages.count({"AboutBox",
                                      "Ringvakt - caller ID for your telephone line\n"
                                      "Written by Tornholt",
                                      ""}))
        << "no text of the templates";

    for (const char* language : {"en", "de"}) {
        const LinguistFile file =
            readLinguistFile(root + QStringLiteral("/translations/ringvakt_") +
                             QLatin1String(language) + QStringLiteral(".ts"));
        // The language decides how many plural forms a text has.
        EXPECT_EQ(file.language, QLatin1String(language));
        for (const auto& [key, message] : texts.messages) {
            const QString wrong = problem(file, key);
            EXPECT_EQ(wrong, QString()) << language << ": " << describe(key);
        }
    }

    // Qt's dialogs in Norwegian are all translated too.
    const LinguistFile qt = readLinguistFile(root + QStringLiteral("/translations/qt_nb.ts"));
    EXPECT_EQ(qt.language, QStringLiteral("nb_NO"));
    for (const auto& [key, message] : qt.messages)
        EXPECT_EQ(problem(qt, key), QString()) << "qt_nb: " << describe(key);
}
