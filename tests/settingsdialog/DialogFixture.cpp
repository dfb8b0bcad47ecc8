#include "DialogFixture.h"

#include "platform/DialogBuilder.h"
#include "platform/MessageBoxes.h"
#include "settings/SettingsTable.h"
#include "support/IniGroup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace test {

std::map<std::string, std::string> storedValues(const std::string& ini)
{
    std::map<std::string, std::string> values;
    for (const std::string& line : iniGroupLines(ini)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

std::string summary(const Settings& settings)
{
    std::string out;
    for (const SettingDef& def : kSettingsTable) {
        out += out.empty() ? "" : " ";
        out += std::string(def.name) + '=';
        switch (def.kind) {
        case SettingKind::Signed32:
            out += std::to_string(settings.*def.signedField);
            break;
        case SettingKind::Unsigned32:
            out += std::to_string(settings.*def.unsignedField);
            break;
        case SettingKind::Text:
            out += settings.*def.textField;
            break;
        }
    }
    return out;
}

std::string summary(const std::map<std::string, std::string>& values)
{
    std::string out;
    for (const SettingDef& def : kSettingsTable) {
        const auto it = values.find(def.name);
        out += out.empty() ? "" : " ";
        out += std::string(def.name) + '=' + (it == values.end() ? "-" : it->second);
    }
    return out;
}

void DialogFixture::SetUp()
{
    msgbox::answerAhead();
    store = std::make_unique<IniSettingsStore>(dir.file("Ringvakt.ini"));
}

void DialogFixture::TearDown()
{
    dialog.reset();
    msgbox::showReal();
}

void DialogFixture::loadStored(const std::string& lines)
{
    dir.write("Ringvakt.ini", "[V1.51]\n" + lines);
    LoadSettings(settings, *store);
    m_loaded = storedFile();
}

SettingsDialog& DialogFixture::openDialog()
{
    dialog.reset();
    dialog = std::make_unique<SettingsDialog>(
        nullptr, SettingsDialogParts{settings, *store, sound, recorder, dir.path()});
    dialog->show();
    return *dialog;
}

QRadioButton* DialogFixture::radio(int id) const
{
    auto* w = dialogbuilder::control<QRadioButton>(dialog.get(), id);
    EXPECT_NE(w, nullptr) << "radio button " << id;
    return w;
}

QCheckBox* DialogFixture::box(int id) const
{
    auto* w = dialogbuilder::control<QCheckBox>(dialog.get(), id);
    EXPECT_NE(w, nullptr) << "check box " << id;
    return w;
}

QLineEdit* DialogFixture::field(int id) const
{
    auto* w = dialogbuilder::control<QLineEdit>(dialog.get(), id);
    EXPECT_NE(w, nullptr) << "field " << id;
    return w;
}

void DialogFixture::click(int id) const
{
    auto* w = dialogbuilder::control<QAbstractButton>(dialog.get(), id);
    ASSERT_NE(w, nullptr) << "button " << id;
    ASSERT_TRUE(w->isEnabled()) << "button " << id;
    w->click();
}

QStringList DialogFixture::boxes() const
{
    QStringList out;
    for (const msgbox::Shown& s : msgbox::shown())
        out << s.caption + QStringLiteral(": ") + s.text;
    return out;
}

} // namespace test
