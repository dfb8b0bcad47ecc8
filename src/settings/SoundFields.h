#pragma once

#include "settings/FieldGroup.h"

#include <QCoreApplication>
#include <QString>
#include <string>

class RecorderStarter;
class SoundOutput;

// The settings dialog's "Personlige Alarmer": whether callers' own sounds
// play, with an intro before and an outro after them, and the buttons that
// play, record and delete the intro and the outro. The buttons take effect
// at once and are not undone by Cancel.
class SoundFields : public FieldGroup
{
    // The texts of every group belong to the dialog's one context.
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)

public:
    // The intro's and outro's file names are read from `settings` when a
    // button is clicked.
    SoundFields(QWidget* dialog, const Settings& settings, SoundOutput& sound,
                RecorderStarter& recorder, const QString& dataDir);

    // Fills the fields from the settings; once, when the dialog opens.
    void show(const Settings& s);
    // A click on "Spill Personlig Alarm".
    void personalSoundsClicked();
    // A click on one of the six icon buttons.
    void soundButtonClicked(int id);
    // The ticks into the settings record.
    void store(Settings& s) const;

    // The ids of the controls whose clicks are commands.
    static constexpr int kPersonalSounds = 1008;
    static constexpr int kIntroPlay = 1064;
    static constexpr int kIntroRecord = 1065;
    static constexpr int kOutroPlay = 1066;
    static constexpr int kOutroRecord = 1067;
    static constexpr int kIntroDelete = 1068;
    static constexpr int kOutroDelete = 1069;

private:
    // The intro's or the outro's file name, for one of the six icon buttons.
    const std::string& soundFileFor(int id) const;

    const Settings& m_settings;
    SoundOutput& m_sound;
    RecorderStarter& m_recorder;
    QString m_dataDir;
};
