#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class QMenu;
class QWidget;

// The Norwegian source texts that a language says in other words, read from
// translations/ringvakt_<language>.ts. A window that shows one of them has
// not put that text through the translation. Place markers (%1, %n) stand
// for any text.
class UntranslatedTexts
{
public:
    explicit UntranslatedTexts(const QString& language);

    // The source text that `shown` is, or an empty text.
    QString sourceOf(const QString& shown) const;
    int size() const { return int(m_sources.size()); }

private:
    std::vector<std::pair<QString, QRegularExpression>> m_sources;
};

// Every text a user can read in the window: its title; the texts, tooltips
// and names for screen readers of its controls; what its fields and lists
// of choices hold; its lists' headers and cells; its menus and menu bar.
QStringList readableTexts(const QWidget& window);
// The title and items of a menu and its submenus.
QStringList readableTexts(const QMenu& menu);
