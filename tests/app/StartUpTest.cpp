#include "app/MainDlg.h"
#include "catalogue/Session.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "support/DemoFixture.h"
#include "support/FakeCommandRunner.h"
#include "support/ScriptedPrompter.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ScriptedPrompter;

struct Window {
    explicit Window(const RegistryFile& registry) : dialog(session, services, registry) {}
    ScriptedPrompter prompter;
    test::FakeCommandRunner runner;
    test::ManualClock clock;
    Services services{prompter, runner, clock};
    Session session;
    CMainDlg dialog;
};

TEST(StartUp, TheWindowOffersTheDemoModsAndSelectsTfc) {
    test::DemoFixture demo;
    const RegistryFile registry = RegistryFile::Load(demo.Layout().registryFile);
    Window window(registry);
    ASSERT_TRUE(window.dialog.StartUp());
    QComboBox* selector = window.dialog.ModSelector();
    ASSERT_EQ(selector->count(), 2);
    EXPECT_EQ(selector->itemText(0), "Half-Life Deathmatch");
    EXPECT_EQ(selector->currentText(), "Team Fortress Classic");
    EXPECT_TRUE(window.prompter.Transcript().empty());

    selector->setCurrentIndex(0);
    EXPECT_EQ(window.session.paths.modWorkDir, window.session.paths.workDir + "valve/");
}

TEST(StartUp, WithoutTheGameTheWindowSaysSoAndDoesNotOpen) {
    const RegistryFile noGame;
    Window window(noGame);
    EXPECT_FALSE(window.dialog.StartUp());
    EXPECT_EQ(window.prompter.Messages(),
              std::vector<std::string>{
                  "Error - Cannot locate installed version of Half-Life\nAborting..."});
}

} // namespace
} // namespace ballotine
