#pragma once

#include "settings/AnnouncementFields.h"
#include "settings/LanguageFields.h"
#include "settings/LineFields.h"
#include "settings/MsnFields.h"
#include "settings/SharingFields.h"
#include "settings/SoundFields.h"

#include <QDialog>
#include <QString>

class RecorderStarter;
class SettingsStore;
class SoundOutput;
struct Settings;

// What the settings dialog works on: the program's one settings record and
// the store it is saved to, and what the intro and outro buttons need.
struct SettingsDialogParts
{
    Settings& settings;
    SettingsStore& store;
    SoundOutput& sound;
    RecorderStarter& recorder;
    QString dataDir;
};

// "Ringvakt Oppsett": shows the settings, keeps its controls consistent
// while the user edits, and on OK checks them, puts them into the settings
// record and saves it. Cancel, Escape and the title bar's close discard
// every change. Play, Record and Delete of the intro and outro take effect
// at once and are not undone by Cancel.
class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 107;

    SettingsDialog(QWidget* owner, const SettingsDialogParts& parts);

    // Runs what a click on the control with this id does: 1 (OK), 2
    // (Avbryt), 1008, 1040, 1044-1046, 1050, 1051, 1064-1069, 1081, 1082,
    // 1090, 1095, 1099, 1101.
    // Other ids do nothing.
    void command(int id);

    // Escape and the title bar's close take the Cancel path.
    void reject() override;

private:
    void initialise();
    void ok();
    void showSettingsError(const QString& text);
    // What is greyed follows the line and the sharing choices.
    void updateLineFields();

    SettingsDialogParts m_parts;
    // The dialog's groups: each fills its controls, keeps them consistent,
    // checks them and puts them into the record.
    AnnouncementFields m_announcement;
    MsnFields m_msns;
    SoundFields m_sounds;
    LineFields m_line;
    SharingFields m_sharing;
    LanguageFields m_language;
};
