#include "UntranslatedTexts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

// The source text as a pattern: its place markers match any text.
QRegularExpression patternOf(const QString& source)
{
    static const QRegularExpression marker(QStringLiteral("%(?:L?[0-9]+|n)"));
    QString pattern;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : marker.globalMatch(source)) {
        pattern += QRegularExpression::escape(source.mid(from, m.capturedStart() - from)) +
                   QStringLiteral(".+");
        from = m.capturedEnd();
    }
    pattern += QRegularExpression::escape(source.mid(from));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                              QRegularExpression::DotMatchesEverythingOption);
}

void addItemTexts(const QAbstractItemView& view, QStringList* texts)
{
    const QAbstractItemModel* model = view.model();
    if (!model)
        return;
    for (int column = 0; column < model->columnCount(); ++column) {
        *texts << model->headerData(column, Qt::Horizontal).toString();
        for (int row = 0; row < model->rowCount(); ++row)
            *texts << model->index(row, column).data().toString();
    }
}

} // namespace

UntranslatedTexts::UntranslatedTexts(const QString& language)
{
    QFile file(QStringLiteral(RINGVAKT_SOURCE_DIR "/translations/ringvakt_") + language +
               QStringLiteral(".ts"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    QXmlStreamReader xml(&file);
    QString source;
    QStringList translations;
    bool numerus = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            // A text its translation keeps as it is ("Status", "OK") can
            // stand in a translated window.
            translations.removeAll(QString());
            if (!translations.isEmpty() && translations != QStringList(source))
                m_sources.emplace_back(source, patternOf(source));
            continue;
        }
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("message")) {
            source.clear();
            translations.clear();
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("numerusform") ||
                   (xml.name() == QLatin1String("translation") && !numerus)) {
            // Unfinished translations are test_translations' to report.
            translations << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

QString UntranslatedTexts::sourceOf(const QString& shown) const
{
    for (const auto& [source, pattern] : m_sources) {
        if (pattern.match(shown).hasMatch())
            return source;
    }
    return {};
}

QStringList readableTexts(const QMenu& menu)
{
    QStringList texts{menu.title()};
    for (const QAction* action : menu.actions()) {
        texts << action->text() << action->toolTip();
        if (const QMenu* sub = action->menu())
            texts << readableTexts(*sub);
    }
    return texts;
}

QStringList readableTexts(const QWidget& window)
{
    QStringList texts{window.windowTitle()};
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        texts << w->accessibleName();
        if (!w->toolTip().isEmpty())
            texts << w->toolTip();
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            texts << label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            texts << button->text();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            texts << group->title();
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            texts << edit->text();
        } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        } else if (const auto* view = qobject_cast<const QAbstractItemView*>(w)) {
            addItemTexts(*view, &texts);
        } else if (const auto* menu = qobject_cast<const QMenu*>(w)) {
            texts << readableTexts(*menu);
        } else if (const auto* bar = qobject_cast<const QMenuBar*>(w)) {
            for (const QAction* action : bar->actions()) {
                texts << action->text();
                if (const QMenu* sub = action->menu())
                    texts << readableTexts(*sub);
            }
        }
    }
    texts.removeAll(QString());
    return texts;
}
