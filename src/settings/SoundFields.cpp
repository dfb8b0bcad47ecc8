#include "settings/SoundFields.h"

#include "platform/Cp1252.h"
#include "settings/IntroOutroSounds.h"

#include <QPushButton>
#include <utility>

namespace {

constexpr int kPlayIntro = 1056;
constexpr int kIntroName = 1057;
constexpr int kPlayOutro = 1062;
constexpr int kOutroName = 1063;

} // namespace

SoundFields::SoundFields(QWidget* dialog, const Settings& settings, SoundOutput& sound,
                         RecorderStarter& recorder, const QString& dataDir)
    : FieldGroup(dialog), m_settings(settings), m_sound(sound), m_recorder(recorder),
      m_dataDir(dataDir)
{}

void SoundFields::show(const Settings& s)
{
    // The play, record and delete icons come with the template (123, 124,
    // 125), the same pictures the phone book's entry editor shows.

    // With personal sounds off the intro and outro boxes are greyed, but
    // keep their ticks: they count again as soon as the sounds are on.
    box(kPersonalSounds)->setChecked(s.PSOUND == PersonalSounds::On);
    box(kPlayIntro)->setEnabled(s.PSOUND == PersonalSounds::On);
    box(kPlayOutro)->setEnabled(s.PSOUND == PersonalSounds::On);
    box(kPlayIntro)->setChecked(s.PSOUND_BEFORE == IntroOutro::On);
    box(kPlayOutro)->setChecked(s.PSOUND_AFTER == IntroOutro::On);

    // The names are shown from their start (a field scrolled to the end of
    // "Outro.wav" would read "utro.wav").
    edit(kIntroName)->setText(cp1252::toQString(s.IntroFile));
    edit(kOutroName)->setText(cp1252::toQString(s.OutroFile));
    edit(kIntroName)->setCursorPosition(0);
    edit(kOutroName)->setCursorPosition(0);
    // The icon buttons say what they do, and to which file.
    const QString intro = edit(kIntroName)->text();
    const QString outro = edit(kOutroName)->text();
    const std::pair<int, QString> soundButtons[] = {
        {kIntroPlay, tr("Spill av %1").arg(intro)},
        {kIntroRecord, tr("Ta opp %1").arg(intro)},
        {kIntroDelete, tr("Slett lydfilen %1").arg(intro)},
        {kOutroPlay, tr("Spill av %1").arg(outro)},
        {kOutroRecord, tr("Ta opp %1").arg(outro)},
        {kOutroDelete, tr("Slett lydfilen %1").arg(outro)}};
    for (const auto& [id, name] : soundButtons)
        control<QPushButton>(id)->setAccessibleName(name);
}

void SoundFields::personalSoundsClicked()
{
    const bool on = box(kPersonalSounds)->isChecked();
    box(kPlayIntro)->setEnabled(on);
    box(kPlayOutro)->setEnabled(on);
}

void SoundFields::soundButtonClicked(int id)
{
    switch (id) {
    case kIntroPlay:
    case kOutroPlay:
        introoutro::play(m_sound, m_dataDir, soundFileFor(id));
        return;
    case kIntroRecord:
    case kOutroRecord:
        introoutro::record(m_recorder, m_dataDir, soundFileFor(id));
        return;
    case kIntroDelete:
    case kOutroDelete:
        introoutro::remove(m_dialog, m_dataDir, soundFileFor(id));
        return;
    default:
        return;
    }
}

const std::string& SoundFields::soundFileFor(int id) const
{
    const bool intro = id == kIntroPlay || id == kIntroRecord || id == kIntroDelete;
    return intro ? m_settings.IntroFile : m_settings.OutroFile;
}

void SoundFields::store(Settings& s) const
{
    // A greyed box counts by its tick.
    s.PSOUND = box(kPersonalSounds)->isChecked() ? PersonalSounds::On : PersonalSounds::Off;
    s.PSOUND_BEFORE = box(kPlayIntro)->isChecked() ? IntroOutro::On : IntroOutro::Off;
    s.PSOUND_AFTER = box(kPlayOutro)->isChecked() ? IntroOutro::On : IntroOutro::Off;
}
