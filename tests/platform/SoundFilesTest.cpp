#include "platform/SoundFiles.h"

#include "support/TempDataDir.h"

#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

namespace {

// Every path below the directory, to show that nothing was created.
QStringList tree(const QString& dir)
{
    QStringList paths;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << QDir(dir).relativeFilePath(it.next());
    paths.sort();
    return paths;
}

} // namespace

TEST(SoundFiles, UnsafeNamesHaveNoPath)
{
    const std::string unsafe[] = {
        "",
        ".",
        "..",
        "../x.wav",
        "a/b.wav",
        "a\\b.wav",
        std::string("12\0.wav", 7),
        "12\r.wav",
        "12\n.wav",
        "tab\t.wav",
        "del\x7F.wav",
        std::string(256, '1'),
        std::string(128, '\xE6'), // 128 bytes here, 256 in UTF-8
    };
    for (const std::string& name : unsafe) {
        EXPECT_FALSE(soundfiles::isSafeFileName(name)) << name;
        EXPECT_FALSE(soundfiles::pathFor("/data", name).has_value()) << name;
        EXPECT_FALSE(soundfiles::findExisting("/data", name).has_value()) << name;
    }
}

TEST(SoundFiles, SafeNamesAreInsideTheSoundDirectory)
{
    EXPECT_EQ(soundfiles::soundDir("/data"), "/data/sound");
    EXPECT_EQ(soundfiles::pathFor("/data", "201.wav"), QString("/data/sound/201.wav"));
    EXPECT_EQ(soundfiles::pathFor("/data", "*.wav"), QString("/data/sound/*.wav"));
    EXPECT_EQ(soundfiles::pathFor("/data", "...wav"), QString("/data/sound/...wav"));
    EXPECT_EQ(soundfiles::pathFor("/data", "\xC6r\xF8.wav"),
              QString::fromUtf8("/data/sound/Ærø.wav"));
    EXPECT_TRUE(soundfiles::isSafeFileName(std::string(251, '1') + ".wav"));
    EXPECT_TRUE(soundfiles::isSafeFileName(std::string(127, '\xE6'))); // 254 bytes in UTF-8
}

TEST(SoundFiles, FindsExactlyThenWithoutCase)
{
    test::TempDataDir dir;
    dir.write("sound/201.wav", "a");
    dir.write("sound/X.WAV", "b");
    dir.write("sound/Intro.wav", "c");
    dir.write("sound/intro.WAV", "d");
    dir.write("sound/\xC3\x86.wav", "e"); // Æ.wav, as UTF-8 on the disk
    ASSERT_TRUE(QDir(dir.path()).mkpath("sound/dir.wav"));
    dir.write("201.wav", "outside");
    const QString sound = dir.path() + "/sound/";

    EXPECT_EQ(soundfiles::findExisting(dir.path(), "201.wav"), sound + "201.wav");
    EXPECT_EQ(soundfiles::findExisting(dir.path(), "201.WAV"), sound + "201.wav");
    EXPECT_EQ(soundfiles::findExisting(dir.path(), "x.wav"), sound + "X.WAV");
    // The exact name wins over one that differs only in case.
    EXPECT_EQ(soundfiles::findExisting(dir.path(), "intro.WAV"), sound + "intro.WAV");
    EXPECT_EQ(soundfiles::findExisting(dir.path(), "Intro.wav"), sound + "Intro.wav");
    EXPECT_EQ(soundfiles::findExisting(dir.path(), "\xC6.wav"), sound + QString::fromUtf8("Æ.wav"));
    // Only A-Z are folded: æ is not Æ.
    EXPECT_FALSE(soundfiles::findExisting(dir.path(), "\xE6.wav"));
    // A directory is not a sound file, and wildcards are plain characters.
    EXPECT_FALSE(soundfiles::findExisting(dir.path(), "dir.wav"));
    EXPECT_FALSE(soundfiles::findExisting(dir.path(), "*.wav"));
    EXPECT_FALSE(soundfiles::findExisting(dir.path(), "?01.wav"));
    EXPECT_FALSE(soundfiles::findExisting(dir.path(), "../201.wav"));
    EXPECT_FALSE(soundfiles::findExisting(dir.path() + "/none", "201.wav"));
}

TEST(SoundFiles, ListsRegularFilesWithTheSuffix)
{
    test::TempDataDir dir;
    dir.write("sound/201.wav", "");
    dir.write("sound/Intro.WAV", "");
    dir.write("sound/.wav", "");
    dir.write("sound/notes.txt", "");
    dir.write("sound/wav", "");
    ASSERT_TRUE(QDir(dir.path()).mkpath("sound/x.wav"));
    dir.write("sound/x.wav/inner.wav", "");
    dir.write("other.wav", "");

    std::vector<std::string> names;
    for (const soundfiles::SoundFile& file : soundfiles::listFiles(dir.path(), ".wav")) {
        names.push_back(file.name);
        EXPECT_EQ(file.path, dir.path() + "/sound/" + QString::fromStdString(file.name));
    }
    EXPECT_EQ(names, (std::vector<std::string>{".wav", "201.wav", "Intro.WAV"}));
    EXPECT_TRUE(soundfiles::listFiles(dir.path() + "/none", ".wav").empty());

    EXPECT_TRUE(soundfiles::sameFileName("Intro.WAV", "intro.wav"));
    EXPECT_FALSE(soundfiles::sameFileName("Intro.wav", "Intro.wa"));
    EXPECT_FALSE(soundfiles::sameFileName("\xC6", "\xE6"));
}

TEST(SoundFiles, LookingUpNeverCreatesAnything)
{
    test::TempDataDir dir;
    dir.write("sound/1.wav", "");
    const QStringList before = tree(dir.path());
    for (const std::string name : {"../x", "a/b", "*", "?", "new.wav"})
        soundfiles::findExisting(dir.path(), name);
    EXPECT_EQ(tree(dir.path()), before);
}
