#include "platform/Cp1252.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <limits>
#include <memory>

struct IniSettingsStore::Private
{
    QString filePath;
    // Made anew by every open(): QSettings caches what it read, and a store
    // must see the file as it is now.
    std::unique_ptr<QSettings> settings;
    // Something was written since the open: only then is a file made.
    bool written = false;
};

namespace {

enum class SectionState
{
    Present,
    Absent,
    Unreadable
};

// Whether the file holds the group's section header. QSettings forgets a
// section without values, but such a section is a key that exists and is
// empty, so the file itself is asked.
SectionState findSection(const QString& filePath)
{
    QFile file(filePath);
    if (!file.exists())
        return SectionState::Absent;
    // Only a regular file: opening a FIFO would wait for a writer for good.
    if (!QFileInfo(filePath).isFile() || !file.open(QIODevice::ReadOnly))
        return SectionState::Unreadable;
    const QByteArray header = QByteArray("[") + IniSettingsStore::kGroup + "]";
    while (!file.atEnd()) {
        if (file.readLine().trimmed() == header)
            return SectionState::Present;
    }
    if (file.error() != QFileDevice::NoError)
        return SectionState::Unreadable;
    return SectionState::Absent;
}

// A number as QSettings gives it back: an integer value written in this
// process, or the decimal text of the file. It must fit 32 bits, as a signed
// or as an unsigned number; anything else is unreadable.
std::optional<uint32_t> toNumber(const QVariant& value)
{
    qlonglong number = 0;
    bool ok = false;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        number = value.toLongLong(&ok);
        break;
    case QMetaType::ULongLong: {
        const qulonglong unsignedNumber = value.toULongLong(&ok);
        ok = ok && unsignedNumber <= std::numeric_limits<uint32_t>::max();
        number = qlonglong(unsignedNumber);
        break;
    }
    case QMetaType::QString:
        number = value.toString().toLongLong(&ok, 10);
        break;
    default:
        return std::nullopt;
    }
    if (!ok || number < std::numeric_limits<int32_t>::min() ||
        number > qlonglong(std::numeric_limits<uint32_t>::max()))
        return std::nullopt;
    return static_cast<uint32_t>(number);
}

QString keyFor(const char* name)
{
    return QLatin1String(IniSettingsStore::kGroup) + QLatin1Char('/') + QLatin1String(name);
}

} // namespace

IniSettingsStore::IniSettingsStore() : d(new Private)
{
    // Only the file name is taken from this form; the store then reads that
    // one file, without the system-wide fallbacks QSettings would add, as
    // the settings always were the user's alone.
    const QSettings userSettings(QSettings::IniFormat, QSettings::UserScope,
                                 QStringLiteral("Tornholt"), QStringLiteral("Ringvakt"));
    d->filePath = userSettings.fileName();
}

IniSettingsStore::IniSettingsStore(const QString& filePath) : d(new Private)
{
    d->filePath = filePath;
}

IniSettingsStore::~IniSettingsStore()
{
    delete d;
}

QString IniSettingsStore::filePath() const
{
    return d->filePath;
}

bool IniSettingsStore::open(bool* created)
{
    d->settings.reset();
    d->written = false;
    const SectionState section = findSection(d->filePath);
    if (section == SectionState::Unreadable)
        return false;

    auto settings = std::make_unique<QSettings>(d->filePath, QSettings::IniFormat);
    settings->setFallbacksEnabled(false);
    if (settings->status() != QSettings::NoError)
        return false;

    settings->beginGroup(QLatin1String(kGroup));
    const bool hasValues = !settings->allKeys().isEmpty();
    settings->endGroup();

    if (created)
        *created = section == SectionState::Absent && !hasValues;
    d->settings = std::move(settings);
    return true;
}

std::optional<uint32_t> IniSettingsStore::readNumber(const char* name)
{
    if (!d->settings)
        return std::nullopt;
    const QVariant value = d->settings->value(keyFor(name));
    if (!value.isValid())
        return std::nullopt;
    return toNumber(value);
}

std::optional<std::string> IniSettingsStore::readText(const char* name, size_t bufferSize)
{
    if (!d->settings)
        return std::nullopt;
    const QVariant value = d->settings->value(keyFor(name));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    bool encodable = false;
    std::string text = cp1252::fromQString(value.toString(), &encodable);
    // A text the code page cannot hold, or one that does not fit the buffer
    // with its zero, cannot be read into the field.
    if (!encodable || text.size() + 1 > bufferSize)
        return std::nullopt;
    const size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

void IniSettingsStore::writeNumber(const char* name, uint32_t value)
{
    if (d->settings) {
        d->settings->setValue(keyFor(name), value);
        d->written = true;
    }
}

void IniSettingsStore::writeSignedNumber(const char* name, int32_t value)
{
    if (d->settings) {
        d->settings->setValue(keyFor(name), value);
        d->written = true;
    }
}

void IniSettingsStore::writeText(const char* name, const std::string& value)
{
    if (d->settings) {
        d->settings->setValue(keyFor(name), cp1252::toQString(value));
        d->written = true;
    }
}

bool IniSettingsStore::close()
{
    if (!d->settings)
        return false;
    // The settings may hold the MQTT password: the file is its owner's
    // alone. It is made owner-only (and made empty first when missing)
    // before the values go in; the save replaces it keeping its
    // permissions, so a password is never readable by others, not even for
    // a moment.
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QFileInfo info(d->filePath);
    if (!info.exists() && d->written && QDir().mkpath(info.absolutePath())) {
        QFile empty(d->filePath);
        if (empty.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            empty.setPermissions(ownerOnly);
    } else if (info.isFile()) {
        QFile::setPermissions(d->filePath, ownerOnly);
    }
    d->settings->sync();
    d->written = false;
    const bool ok = d->settings->status() == QSettings::NoError;
    d->settings.reset();
    return ok;
}
