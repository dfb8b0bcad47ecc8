#include "shell/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace autostart {

namespace {

// A value of Exec: quoted when it holds anything a desktop entry treats
// specially, with the characters that need it escaped.
QString execArgument(const QString& s)
{
    static const QString special = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : s)
        needsQuotes = needsQuotes || special.contains(c);
    if (!needsQuotes)
        return s;
    QString out;
    for (const QChar c : s) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    // Inside the entry's string value, a backslash is itself escaped.
    out.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

} // namespace

QString entryPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/autostart/") + QString::fromLatin1(kDesktopId) +
           QStringLiteral(".desktop");
}

QString entryText(const QString& program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Ringvakt\n"
                          "Comment=Shows who is calling before you pick up\n"
                          "Comment[nb]=Viser hvem som ringer før du tar telefonen\n"
                          "Icon=%1\n"
                          "Exec=%2 --desktop-data --session-start\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(QString::fromLatin1(kDesktopId), execArgument(program));
}

bool enable(const QString& program, QString* report)
{
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *report = QStringLiteral("cannot create %1").arg(QFileInfo(path).absolutePath());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entryText(program).toUtf8()) < 0 ||
        !file.commit()) {
        *report = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    *report = QStringLiteral("Ringvakt now starts with your desktop session (%1).").arg(path);
    return true;
}

bool disable(QString* report)
{
    const QString path = entryPath();
    if (!QFileInfo::exists(path)) {
        *report = QStringLiteral("Ringvakt did not start with your desktop session; nothing to "
                                 "remove (%1).")
                      .arg(path);
        return true;
    }
    if (!QFile::remove(path)) {
        *report = QStringLiteral("cannot remove %1").arg(path);
        return false;
    }
    *report = QStringLiteral("Ringvakt no longer starts with your desktop session (removed %1).")
                  .arg(path);
    return true;
}

} // namespace autostart
