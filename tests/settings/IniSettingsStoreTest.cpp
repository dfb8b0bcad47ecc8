#include "settings/SettingsStore.h"
#include "support/TempDataDir.h"

#include <gtest/gtest.h>

TEST(IniSettingsStore, TheUserFileIsTornholtRingvaktIni)
{
    const IniSettingsStore store;
    EXPECT_TRUE(store.filePath().endsWith("/Tornholt/Ringvakt.ini"))
        << store.filePath().toStdString();
}

TEST(IniSettingsStore, TheKeyExistsWithASectionOrAValueOfTheGroup)
{
    test::TempDataDir dir;
    const auto createdFor = [&](const std::string& name, const std::string* ini) {
        if (ini)
            dir.write(QString::fromStdString(name), *ini);
        IniSettingsStore store(dir.file(QString::fromStdString(name)));
        bool created = false;
        EXPECT_TRUE(store.open(&created)) << name;
        EXPECT_TRUE(store.close()) << name;
        return created;
    };
    const std::string emptyFile;
    const std::string emptySection = "; comment\n[V1.51]\n";
    const std::string otherGroup = "[General]\nx=1\n[V1.50]\nMSG_SHOW=2\n";
    const std::string withValue = "[V1.51]\nSOMETHING=1\n";
    const std::string indented = "  [V1.51]  \r\n";

    EXPECT_TRUE(createdFor("none.ini", nullptr));
    EXPECT_TRUE(createdFor("empty.ini", &emptyFile));
    EXPECT_FALSE(createdFor("section.ini", &emptySection));
    EXPECT_TRUE(createdFor("other.ini", &otherGroup));
    EXPECT_FALSE(createdFor("value.ini", &withValue));
    EXPECT_FALSE(createdFor("indented.ini", &indented));
    // Opening and closing without writing creates no file.
    EXPECT_FALSE(dir.exists("none.ini"));
}

TEST(IniSettingsStore, SavingKeepsOtherGroupsAndReflectsTheFile)
{
    test::TempDataDir dir;
    dir.write("Ringvakt.ini", "[Other]\nkept=yes\n");
    IniSettingsStore store(dir.file("Ringvakt.ini"));
    bool created = false;
    ASSERT_TRUE(store.open(&created));
    EXPECT_TRUE(created);
    store.writeNumber("MSG_SHOW", 2);
    store.writeSignedNumber("BEEP", -4);
    store.writeText("MSN_1", "12\x80");
    ASSERT_TRUE(store.close());

    const std::string ini = dir.read("Ringvakt.ini");
    EXPECT_NE(ini.find("kept=yes"), std::string::npos) << ini;
    EXPECT_NE(ini.find("BEEP=-4"), std::string::npos) << ini;
    EXPECT_NE(ini.find("MSN_1=12\xE2\x82\xAC"), std::string::npos) << ini; // € in UTF-8

    // Another program changes the file; the same store object sees it.
    dir.write("Ringvakt.ini", "[V1.51]\nMSG_SHOW=3000\nMSN_1=4711\n");
    ASSERT_TRUE(store.open(&created));
    EXPECT_FALSE(created);
    EXPECT_EQ(store.readNumber("MSG_SHOW"), 3000u);
    EXPECT_EQ(store.readNumber("BEEP"), std::nullopt);
    EXPECT_EQ(store.readText("MSN_1", 20), "4711");
    EXPECT_EQ(store.readText("MSN_1", 5), "4711");
    EXPECT_EQ(store.readText("MSN_1", 4), std::nullopt); // no room for the zero
    EXPECT_EQ(store.readText("MSN_9", 20), std::nullopt);
    EXPECT_TRUE(store.close());
}
