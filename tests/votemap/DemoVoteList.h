#pragma once

#include "catalogue/MainWindowModel.h"
#include "catalogue/Session.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "support/DemoFixture.h"
#include "support/FakeCommandRunner.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace ballotine::test {

// The main window's model on a fresh demo installation, as after start-up: the compiled vote
// map's lakeside and well in the vote list, the window's start settings.
class DemoVoteList : public ::testing::Test {
protected:
    DemoVoteList() {
        EXPECT_TRUE(StartSession(session, registry, prompter));
        model.RefreshMapLists();
        model.Settings().OnPlayersChanged(12);
    }

    // Empties the vote list, then moves these available maps into it as "<--" does.
    void Choose(std::initializer_list<const char*> names) {
        model.ClearChosenMaps();
        for (const char* name : names) {
            const auto match = model.AvailableMaps().FindNoCase(name);
            ASSERT_TRUE(match) << name;
            model.AvailableMaps().SetSelected(*match, true);
        }
        model.AddChosenMaps();
    }
    std::string MapsFile(const std::string& name) const { return session.paths.mapsDir + name; }
    std::string WorkFile(const std::string& name) const { return session.paths.modWorkDir + name; }

    DemoFixture demo;
    ScriptedPrompter prompter;
    FakeCommandRunner runner;
    ManualClock clock;
    Services services{prompter, runner, clock};
    RegistryFile registry = RegistryFile::Load(demo.Layout().registryFile);
    Session session;
    MainWindowModel model{session};
};

} // namespace ballotine::test
