#include "AppFixture.h"

#include "support/AnnouncementsDone.h"
#include "platform/MessageBoxes.h"

namespace test {

void AppFixture::SetUp()
{
    msgbox::answerAhead();
    store = std::make_unique<IniSettingsStore>(dir.file("Ringvakt.ini"));
}

void AppFixture::TearDown()
{
    app.reset();
    msgbox::showReal();
}

bool AppFixture::startApp()
{
    app = std::make_unique<Application>(ApplicationParts{capi, *store, sound, clock, recorder,
                                                         dir.path(), lineTiming, false,
                                                         [this] { return trayPresent; }});
    app->setFatalHandler([this](const QString& text) { fatals << text; });
    return app->start();
}

void AppFixture::ring(const std::string& from, const std::string& to)
{
    using namespace FakeCapiMessages;
    capi.queueMessage(connectInd(messageNumber++, 0x101, 1, calledNumber(to), callingNumber(from)));
    app->core().pollTick();
    EXPECT_TRUE(announcementsDone(app->core()));
}

} // namespace test
