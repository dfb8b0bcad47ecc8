#include "outcomes/OutcomeFile.h"

#include "calllog/CallLog.h"
#include "calllog/CallLogModel.h"
#include "calllog/CallLogWindow.h"
#include "outcomes/CallOutcomes.h"
#include "platform/MessageBoxes.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"
#include "support/TempDataDir.h"

#include <QItemSelectionModel>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

CallOutcome outcome(CallState state, int seconds = 0, const std::string& extension = {})
{
    CallOutcome o;
    o.state = state;
    o.seconds = seconds;
    o.extension = extension;
    return o;
}

// The states of a log's rows as a fresh program reads them from the files.
QStringList statesOnDisk(const QString& dataDir)
{
    CallLog log(dataDir);
    LoadCallLog(log);
    CallOutcomes outcomes(log);
    outcomes.load();
    QStringList states;
    for (int row = 0; row < log.size(); ++row) {
        const CallOutcome* o = outcomes.at(row);
        states << (o ? QString::fromLatin1(callStateWord(o->state)) : QStringLiteral("-"));
    }
    return states;
}

} // namespace

// The outcomes live beside "CallID.dat", tied to their rows: two calls of
// the same second from the same number keep theirs apart, and deleting a
// row or the whole list in the window takes the outcomes along.
TEST(OutcomeFile, OutcomesFollowTheirRowsThroughDeletionsAndReloads)
{
    msgbox::answerAhead();
    test::TempDataDir dir;
    const std::string calls = "07-Des-2026\r\n14:00:00\r\n1\r\n555\r\n"
                              "07-Des-2026\r\n14:01:00\r\n1\r\n201\r\n"
                              "07-Des-2026\r\n14:01:00\r\n1\r\n201\r\n"
                              "07-Des-2026\r\n14:02:00\r\n1\r\n777\r\n";
    dir.write("CallID.dat", calls);
    {
        CallLog log(dir.path());
        LoadCallLog(log);
        CallOutcomes outcomes(log);
        outcomes.load();
        outcomes.set(0, outcome(CallState::Answered, 135, "1"));
        outcomes.set(1, outcome(CallState::Missed));
        outcomes.set(2, outcome(CallState::Voicemail, 3725, "40"));
        // A call rung on the call monitor is followed only while it rings.
        outcomes.set(3, outcome(CallState::Ringing));
    }
    EXPECT_EQ(dir.read("CallID.dat"), calls) << "the call log stays as it was";
    EXPECT_EQ(dir.read("CallStatus.dat"),
              "Ringvakt CallStatus 1\r\n"
              "07-Des-2026\t14:00:00\t1\t555\tanswered\t135\t1\t0\t\r\n"
              "07-Des-2026\t14:01:00\t1\t201\tmissed\t0\t\t0\t\r\n"
              "07-Des-2026\t14:01:00\t1\t201\tvoicemail\t3725\t40\t0\t\r\n");

    CallLog log(dir.path());
    LoadCallLog(log);
    CallOutcomes outcomes(log);
    outcomes.load();
    CallLogWindow window(log, nullptr, &outcomes);
    const QAbstractItemModel* model = window.list()->model();
    const auto status = [&](int row) {
        return model->index(row, CallLogModel::kStatusColumn).data().toString();
    };
    EXPECT_EQ(status(0), "Besvart 2:15");
    EXPECT_EQ(status(1), "Ubesvart");
    EXPECT_EQ(status(2), "Telefonsvarer 1:02:05");
    EXPECT_EQ(status(3), "");
    EXPECT_EQ(outcomes.unseenMissed(), 1);

    // The phone book changed: the rows are read anew, the outcomes stay
    // with theirs.
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n201\r\n");
    ReloadCallLog(log);
    EXPECT_EQ(status(1), "Ubesvart");
    EXPECT_EQ(status(2), "Telefonsvarer 1:02:05");

    // "Slett innlegg" on the missed call: its twin keeps the voicemail.
    window.list()->selectionModel()->select(
        model->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window.command(1069);
    EXPECT_EQ(status(1), "Telefonsvarer 1:02:05");
    EXPECT_EQ(outcomes.unseenMissed(), 0);
    EXPECT_EQ(statesOnDisk(dir.path()), QStringList({"answered", "voicemail", "-"}));

    // "Slett liste": nothing is left to tie an outcome to.
    window.command(1008);
    EXPECT_EQ(dir.read("CallStatus.dat"), "Ringvakt CallStatus 1\r\n");
    msgbox::showReal();
}

// A damaged file: the calls are read without their outcomes, and standard
// error says so once; the export has empty status columns.
TEST(OutcomeFile, ADamagedFileGivesCallsWithoutOutcomes)
{
    test::RingvaktProcess ringvakt;
    test::writeFile(ringvakt.dataFile("CallID.dat"), "07-Des-2026\r\n14:00:00\r\n1\r\n555\r\n");
    test::writeFile(ringvakt.dataFile("CallStatus.dat"),
                    "Ringvakt CallStatus 1\r\n07-Des-2026\t14:00:00\t1\t555\tmissed\t0\r\n");
    const QString csv = ringvakt.dataFile("calls.csv");
    const test::RingvaktProcess::Run run = ringvakt.runOnce({"--export-calls", csv});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.count("CallStatus.dat is damaged (line 2)"), 1) << run.err.toStdString();
    EXPECT_TRUE(QString::fromStdString(test::readFile(csv))
                    .endsWith("07-Des-2026,14:00:00,1,555,,2026-12-07,,\r\n"));
}
