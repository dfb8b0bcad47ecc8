#include "BenchData.h"
#include "BenchFigures.h"
#include "calllog/CallLog.h"
#include "phonebook/PhoneBookDialogs.h"
#include "phonebook/PhoneBookWindow.h"
#include "platform/RecorderStarter.h"
#include "sound/SdlSoundOutput.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QTreeView>
#include <cstdio>
#include <memory>

void phoneBookWindowFigure(QTemporaryDir& root)
{
    const QString dir = freshDir(root, "window");
    BenchData data(6);
    data.writePhoneBook(dir, 10000);
    CallLog log(dir);
    Settings settings;
    SdlSoundOutput sound;
    ProcessRecorderStarter recorder(QStringLiteral("true"));
    PhoneBookDialogs dialogs(PhoneBookServices{nullptr, dir, log, settings, sound, recorder});

    int rows = 0;
    std::unique_ptr<PhoneBookWindow> window;
    const double ms = medianMs([&] { window.reset(); },
                               [&] {
                                   window = std::make_unique<PhoneBookWindow>(dialogs);
                                   window->show();
                                   QApplication::processEvents();
                                   rows = window->view()->model()->rowCount();
                               });
    window.reset();
    if (rows != 10000)
        std::fprintf(stderr, "phonebook_window_10k_open: %d rows\n", rows);
    printFigure("phonebook_window_10k_open", ms, 200);
}
