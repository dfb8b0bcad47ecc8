#include "phonebook/PhoneBook.h"
#include "platform/SoundFiles.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

namespace {

// Every file and folder below a directory, with its content, so that a test
// can show that nothing changed.
std::map<QString, std::string> snapshot(const QString& root)
{
    std::map<QString, std::string> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files[QDir(root).relativeFilePath(path)] =
            file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<dir>";
    }
    return files;
}

QStringList soundFiles(const test::TempDataDir& dir)
{
    return QDir(dir.file("sound"))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Where a number's personal sound is: "<dataDir>/sound/<number>.wav", or
// nothing when the number cannot name a file there.
QString soundPath(const QString& dataDir, std::string_view number)
{
    return soundfiles::pathFor(dataDir, PersonalSoundFileName(number)).value_or(QString());
}

} // namespace

TEST(PersonalSounds, PathsStayInsideTheSoundDirectory)
{
    test::TempDataDir dir;
    EXPECT_EQ(soundPath(dir.path(), "201"), dir.path() + "/sound/201.wav");
    EXPECT_EQ(soundPath(dir.path(), "*"), dir.path() + "/sound/*.wav");
    // ".." and ".wav" make a plain name inside "sound/".
    EXPECT_EQ(soundPath(dir.path(), ".."), dir.path() + "/sound/...wav");

    dir.write("x.wav", "outside");
    dir.write("sound/a/b.wav", "inside a folder");
    dir.write("sound/*.wav", "a star");
    using namespace std::string_literals;
    const std::string unsafe[] = {"../x", "a/b", "20\0001"s, std::string(300, '7'), "1\r", "\\x"};
    for (const std::string& number : unsafe) {
        EXPECT_EQ(soundPath(dir.path(), number), QString()) << number;
        EXPECT_FALSE(PersonalSoundExists(dir.path(), number)) << number;
    }
    EXPECT_TRUE(PersonalSoundExists(dir.path(), "*"));
    EXPECT_FALSE(PersonalSoundExists(dir.path(), "?"));
}

TEST(PersonalSounds, ExistsWhateverTheCaseOfTheExtension)
{
    test::TempDataDir dir;
    EXPECT_FALSE(PersonalSoundExists(dir.path(), "201")); // no sound/ at all
    dir.write("sound/201.WAV", "");
    dir.write("sound/Abc.wav", "");
    ASSERT_TRUE(QDir(dir.path()).mkpath("sound/300.wav"));
    EXPECT_TRUE(PersonalSoundExists(dir.path(), "201"));
    EXPECT_TRUE(PersonalSoundExists(dir.path(), "aBC"));
    EXPECT_FALSE(PersonalSoundExists(dir.path(), "20"));
    EXPECT_FALSE(PersonalSoundExists(dir.path(), "300")); // a folder
    EXPECT_FALSE(dir.exists("sound/201.wav"));
}

TEST(PurgeOrphanSounds, DeletesOnlySoundsThatNoEntryOwns)
{
    test::TempDataDir dir;
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n201\r\nLie\r\nAnne\r\n");
    dir.write("sound/Intro.WAV", "i");
    dir.write("sound/outro.wav", "o");
    dir.write("sound/201.wav", "mine");
    dir.write("sound/123.wav", "orphan");
    dir.write("sound/X.WAV", "orphan too");
    dir.write("sound/Anne.wav", "the incomplete entry has no number");
    dir.write("sound/notes.txt", "not a sound");
    dir.write("sound/*.wav", "a star");
    ASSERT_TRUE(QDir(dir.path()).mkpath("sound/x.wav"));
    dir.write("sound/x.wav/999.wav", "inside a folder");
    dir.write("999.wav", "outside");
    dir.write("Intro.wav", "outside");

    EXPECT_EQ(PurgeOrphanSounds(dir.path(), "Intro.wav", "Outro.wav"), 4);
    EXPECT_EQ(soundFiles(dir),
              (QStringList{"201.wav", "Intro.WAV", "notes.txt", "outro.wav", "x.wav"}));
    EXPECT_EQ(dir.read("sound/x.wav/999.wav"), "inside a folder");
    EXPECT_EQ(dir.read("999.wav"), "outside");
    EXPECT_EQ(dir.read("Intro.wav"), "outside");

    // Nothing left to do the second time.
    EXPECT_EQ(PurgeOrphanSounds(dir.path(), "Intro.wav", "Outro.wav"), 0);
}

TEST(PurgeOrphanSounds, KeepsASoundWhoseNumberDiffersOnlyInCase)
{
    test::TempDataDir dir;
    dir.write("PhoneBk.dat", "Vik\r\n\r\nabc\r\n");
    dir.write("sound/ABC.wav", "found as abc's sound");
    dir.write("sound/abd.wav", "");
    EXPECT_EQ(PurgeOrphanSounds(dir.path(), "Intro.wav", "Outro.wav"), 1);
    EXPECT_EQ(soundFiles(dir), QStringList{"ABC.wav"});
}

TEST(PurgeOrphanSounds, WithoutABookEveryPersonalSoundGoes)
{
    test::TempDataDir dir;
    EXPECT_EQ(PurgeOrphanSounds(dir.path(), "Intro.wav", "Outro.wav"), 0); // no sound/
    dir.write("sound/201.wav", "");
    dir.write("sound/INTRO.wav", "");
    EXPECT_EQ(PurgeOrphanSounds(dir.path(), "Intro.wav", "Outro.wav"), 1);
    EXPECT_EQ(soundFiles(dir), QStringList{"INTRO.wav"});

    // An empty book, as after "delete all", owns nothing either.
    dir.write("sound/202.wav", "");
    dir.write("PhoneBk.dat", "");
    EXPECT_EQ(PurgeOrphanSounds(dir.path(), "Intro.wav", "Outro.wav"), 1);
}

TEST(PurgeOrphanSounds, RefusesWhenTheBookCannotBeRead)
{
    test::TempDataDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("PhoneBk.dat"));
    dir.write("sound/201.wav", "kept");
    dir.write("sound/123.wav", "kept");
    const auto before = snapshot(dir.path());
    EXPECT_EQ(PurgeOrphanSounds(dir.path(), "Intro.wav", "Outro.wav"), -1);
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(PurgeOrphanSounds, NumbersWithPathCharactersTouchNothingOutside)
{
    // Entries whose numbers hold path characters do not make the purge or
    // the look-ups reach outside "sound/".
    test::TempDataDir dir;
    dir.write("PhoneBk.dat", "A\r\n\r\n../keep\r\nB\r\n\r\n*\r\nC\r\n\r\n?\r\n");
    dir.write("keep.wav", "outside");
    dir.write("sound/*.wav", "owned by *");
    dir.write("sound/1.wav", "orphan");
    dir.write("sound/2.wav", "orphan");
    EXPECT_EQ(PurgeOrphanSounds(dir.path(), "Intro.wav", "Outro.wav"), 2);
    EXPECT_EQ(soundFiles(dir), QStringList{"*.wav"});
    EXPECT_EQ(dir.read("keep.wav"), "outside");
    EXPECT_EQ(dir.read("PhoneBk.dat"), "A\r\n\r\n../keep\r\nB\r\n\r\n*\r\nC\r\n\r\n?\r\n");
}
