#include "platform/SafeFile.h"

#include "support/QtPrinting.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Lowers the limit on the size of a file this process may write, so that a
// write past it fails with EFBIG (the signal it would raise is ignored), and
// puts both back afterwards. Works as root, where permissions do not.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(SafeFile, ReplacesAndCreatesFiles)
{
    test::TempDataDir dir;
    const QString path = dir.file("data.dat");
    ASSERT_TRUE(replaceFileAtomically(path, "first\r\n"));
    EXPECT_EQ(dir.read("data.dat"), "first\r\n");
    ASSERT_TRUE(replaceFileAtomically(path, std::string("a\0b", 3)));
    EXPECT_EQ(dir.read("data.dat"), std::string("a\0b", 3));
    ASSERT_TRUE(replaceFileAtomically(path, ""));
    EXPECT_TRUE(dir.exists("data.dat"));
    EXPECT_EQ(dir.read("data.dat"), "");
    EXPECT_EQ(filesIn(dir.path()), QStringList{"data.dat"}); // no temporary left
}

TEST(SafeFile, WhatItCreatesIsItsOwnersAloneAndWhatExistsKeepsItsPermissions)
{
    const mode_t oldMask = ::umask(022);
    test::TempDataDir dir;
    const auto modeOf = [](const QString& path) {
        struct stat info
        {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 0777;
    };
    ASSERT_TRUE(replaceFileAtomically(dir.file("CallID.dat"), "new\r\n"));
    EXPECT_EQ(modeOf(dir.file("CallID.dat")), 0600u);

    dir.write("PhoneBk.dat", "old\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.file("PhoneBk.dat")).constData(), 0640), 0);
    ASSERT_TRUE(replaceFileAtomically(dir.file("PhoneBk.dat"), "new\r\n"));
    EXPECT_EQ(modeOf(dir.file("PhoneBk.dat")), 0640u);

    ASSERT_TRUE(makePrivateDirectory(dir.file("a/Ringvakt")));
    EXPECT_EQ(modeOf(dir.file("a/Ringvakt")), 0700u);
    EXPECT_EQ(modeOf(dir.file("a")), 0755u);
    ASSERT_TRUE(QDir().mkdir(dir.file("shared")));
    EXPECT_TRUE(makePrivateDirectory(dir.file("shared")));
    EXPECT_EQ(modeOf(dir.file("shared")), 0755u);
    EXPECT_FALSE(makePrivateDirectory(dir.file("CallID.dat/sub")));
    ::umask(oldMask);
}

TEST(SafeFile, AWriteThatFailsHalfWayLeavesTheOldFile)
{
    test::TempDataDir dir;
    const std::string old = "the old content\r\n";
    dir.write("data.dat", old);

    const std::string big(64 * 1024, 'n');
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(replaceFileAtomically(dir.file("data.dat"), big));
    }
    EXPECT_EQ(dir.read("data.dat"), old);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"data.dat"});

    // With the limit gone the same save succeeds.
    EXPECT_TRUE(replaceFileAtomically(dir.file("data.dat"), big));
    EXPECT_EQ(dir.read("data.dat"), big);
}

TEST(SafeFile, AMissingDirectoryOrADirectoryInTheWayFails)
{
    test::TempDataDir dir;
    EXPECT_FALSE(replaceFileAtomically(dir.file("gone/data.dat"), "x"));
    EXPECT_FALSE(dir.exists("gone"));

    ASSERT_TRUE(QDir(dir.path()).mkdir("data.dat"));
    EXPECT_FALSE(replaceFileAtomically(dir.file("data.dat"), "x"));
    EXPECT_TRUE(QFileInfo(dir.file("data.dat")).isDir());
}

TEST(SafeFile, ReadWholeFileTellsMissingFromUnreadable)
{
    test::TempDataDir dir;
    std::string bytes = "stale";
    EXPECT_EQ(readWholeFile(dir.file("none.dat"), &bytes), FileReadState::Missing);
    EXPECT_EQ(bytes, "");

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.dat"));
    EXPECT_EQ(readWholeFile(dir.file("folder.dat"), &bytes), FileReadState::Unreadable);

    dir.write("empty.dat", "");
    EXPECT_EQ(readWholeFile(dir.file("empty.dat"), &bytes), FileReadState::Read);
    EXPECT_EQ(bytes, "");

    dir.write("some.dat", std::string("x\0y\r\n", 5));
    EXPECT_EQ(readWholeFile(dir.file("some.dat"), &bytes), FileReadState::Read);
    EXPECT_EQ(bytes, std::string("x\0y\r\n", 5));
}

TEST(SafeFile, OnlyRegularFilesAreReadOrReplaced)
{
    // A FIFO would block the open, /dev/zero would never end: both are
    // unreadable at once, and neither is replaced by a save. A link to a
    // regular file is that file.
    test::TempDataDir dir;
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.file("fifo.dat")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.file("zero.dat")));
    ASSERT_TRUE(QFile::link(dir.file("nowhere.dat"), dir.file("dangling.dat")));
    dir.write("real.dat", "real\r\n");
    ASSERT_TRUE(QFile::link(dir.file("real.dat"), dir.file("link.dat")));

    std::string bytes;
    for (const char* name : {"fifo.dat", "zero.dat", "dangling.dat"}) {
        EXPECT_EQ(readWholeFile(dir.file(name), &bytes), FileReadState::Unreadable) << name;
        EXPECT_EQ(bytes, "");
    }
    EXPECT_FALSE(replaceFileAtomically(dir.file("fifo.dat"), "x"));
    EXPECT_FALSE(replaceFileAtomically(dir.file("zero.dat"), "x"));
    EXPECT_FALSE(QFileInfo(dir.file("fifo.dat")).isFile());

    EXPECT_EQ(readWholeFile(dir.file("link.dat"), &bytes), FileReadState::Read);
    EXPECT_EQ(bytes, "real\r\n");
    EXPECT_TRUE(replaceFileAtomically(dir.file("link.dat"), "new\r\n"));
    EXPECT_EQ(dir.read("real.dat"), "new\r\n");
}

TEST(SafeFile, LeftoversOfAKilledSaveAreRemovedAndNothingElse)
{
    test::TempDataDir dir;
    dir.write("CallID.dat", "kept\r\n");
    // What a save killed between writing and renaming leaves, and names
    // that only look like it.
    for (const char* name : {"CallID.dat.Ab12Cd", "CallID.dat.zzzzzz", "PhoneBk.dat.Q1w2E3"})
        dir.write(name, "a copy of the file");
    for (const char* name : {"CallID.dat.bak", "CallID.dat.Ab12Cde", "CallID.dat.Ab-2Cd",
                             "xCallID.dat.Ab12Cd", "CallID.dat.Ab12Cd.wav"})
        dir.write(name, "someone else's");
    ASSERT_TRUE(QDir(dir.path()).mkdir("CallID.dat.Dir123"));

    EXPECT_EQ(removeLeftoverSaves(dir.file("CallID.dat")), 2);
    EXPECT_EQ(removeLeftoverSaves(dir.file("PhoneBk.dat")), 1);
    EXPECT_EQ(filesIn(dir.path()),
              QStringList({"CallID.dat", "CallID.dat.Ab-2Cd", "CallID.dat.Ab12Cd.wav",
                           "CallID.dat.Ab12Cde", "CallID.dat.bak", "CallID.dat.Dir123",
                           "xCallID.dat.Ab12Cd"}));
    EXPECT_EQ(dir.read("CallID.dat"), "kept\r\n");
}
