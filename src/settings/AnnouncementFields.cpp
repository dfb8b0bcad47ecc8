#include "settings/AnnouncementFields.h"

#include <limits>
#include <optional>

namespace {

constexpr ChoiceGroup kShowGroup{{1047, 1048, 1049}, 3, &Settings::MSG_SHOW};
constexpr ChoiceGroup kCloseGroup{
    {AnnouncementFields::kCloseNever, AnnouncementFields::kCloseAfter}, 2, &Settings::MSG_CLOSE};
constexpr ChoiceGroup kBeepGroup{{1052, 1053, 1054, 1055}, 4, &Settings::BEEP};
constexpr int kDelayField = 1058;
constexpr uint32_t kMaxDelaySeconds = 1000;
// Desktop notifications of announced calls.
constexpr int kNotify = 1085;

// The delay field's text as a number of seconds: digits only, empty is 0.
// Nothing when the text is not a number that fits 32 bits.
std::optional<uint32_t> delayFromText(const QString& text)
{
    uint64_t value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + uint64_t(c.unicode() - '0');
        if (value > std::numeric_limits<uint32_t>::max())
            return std::nullopt;
    }
    return uint32_t(value);
}

} // namespace

AnnouncementFields::AnnouncementFields(QWidget* dialog) : FieldGroup(dialog) {}

void AnnouncementFields::show(const Settings& s)
{
    for (const ChoiceGroup& g : {kShowGroup, kCloseGroup, kBeepGroup})
        showChoice(g, s);
    // The delay is writable unless "Aldri" is the close choice; with no
    // choice at all it stays writable.
    edit(kDelayField)->setReadOnly(s.MSG_CLOSE == MsgClose::Never);
    edit(kDelayField)->setText(QString::number(s.MSG_CLOSE_TIMEOUT));
    box(kNotify)->setChecked(s.NOTIFY == Notify::On);
}

void AnnouncementFields::updateDelayField()
{
    edit(kDelayField)->setReadOnly(!radio(kCloseAfter)->isChecked());
}

FieldProblem AnnouncementFields::check() const
{
    // A number too large for 32 bits is too large, not 0: read as 0 it
    // would pass the check and silently replace what the user typed.
    const std::optional<uint32_t> delay = delayFromText(edit(kDelayField)->text());
    if (!delay || *delay > kMaxDelaySeconds)
        return {tr("Message timeout to high !"), edit(kDelayField)};
    return {};
}

void AnnouncementFields::store(Settings& s) const
{
    for (const ChoiceGroup& g : {kShowGroup, kCloseGroup, kBeepGroup})
        storeChoice(g, s);
    if (const std::optional<uint32_t> delay = delayFromText(edit(kDelayField)->text()))
        s.MSG_CLOSE_TIMEOUT = *delay;
    s.NOTIFY = box(kNotify)->isChecked() ? Notify::On : Notify::Off;
}
