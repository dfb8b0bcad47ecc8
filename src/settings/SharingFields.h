#pragma once

#include "settings/FieldGroup.h"

#include <QCoreApplication>
#include <QString>

class QCheckBox;
class QLineEdit;
class QWidget;
struct Settings;

// The settings dialog's "Deling" group: the broker that calls are shared
// through, and the host filter of the MQTT line. The broker's fields are
// open while calls are shared or received (the MQTT line chosen), Home
// Assistant's box while they are shared, the CA file with TLS, the host
// filter with the MQTT line. Sharing itself is greyed and off while the
// line is the MQTT line: a received call is never passed on.
class SharingFields
{
    // The texts of every group belong to the dialog's one context.
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)

public:
    // The controls of this dialog, once it is built from its template.
    explicit SharingFields(QWidget* dialog);

    // Fills the fields from the settings; once, when the dialog opens.
    void show(const Settings& s);
    // Greys what does not count with these choices.
    void update(bool mqttLine);
    // The message of the first field that stops OK, or an empty text. The
    // broker must be named while it is used.
    FieldProblem check(bool mqttLine) const;
    // The fields into the settings record (what is greyed is kept as it
    // stands, so that it counts again when the user ticks it again).
    void store(Settings& s) const;
    // "..." beside the CA file: a file chosen in a dialog.
    void chooseCaFile();

    // The ids of the controls whose clicks change what is greyed.
    static constexpr int kShare = 1090;
    static constexpr int kTls = 1095;
    static constexpr int kChooseCaFile = 1101;
    static constexpr int kMqttLine = 1099;

private:
    QLineEdit* edit(int id) const;
    QCheckBox* box(int id) const;

    QWidget* m_dialog;
    // Whether calls were shared before the MQTT line was chosen.
    bool m_shareBeforeMqttLine = false;
};
