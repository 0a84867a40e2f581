#pragma once

#include "app/ElidedText.h"
#include "app/MainDlg.h"
#include "app/MapListWidget.h"
#include "app/PreviewImage.h"
#include "catalogue/Session.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "support/DemoFixture.h"
#include "support/FakeToolRunner.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPrompter.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace ballotine::test {

// The main window on a fresh demo installation, driven by mouse and keys as a user would.
// The runner records the tools run; a test that needs them run gives it a real runner.
class DemoWindow : public ::testing::Test {
protected:
    DemoWindow() { registry = RegistryFile::Load(demo.Layout().registryFile); }

    // A new window on a new session; `sizeFile`: where it keeps its size.
    void Start(const QString& sizeFile = {}) {
        window.reset();
        session = Session{};
        window = std::make_unique<CMainDlg>(session, services, registry);
        window->RememberSizeIn(sizeFile);
        ASSERT_TRUE(window->StartUp());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    const CMainDlg::Controls& Ui() const { return window->Ui(); }
    // The centre of a map's row in one of the lists.
    static QPoint At(MapListWidget* list, const char* name) {
        const auto row = list->Names().indexOf(QString::fromLatin1(name));
        EXPECT_GE(row, 0) << name;
        return list->visualItemRect(list->topLevelItem(static_cast<int>(row))).center();
    }
    static void Click(MapListWidget* list, const char* name, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, At(list, name));
    }
    static void DoubleClick(MapListWidget* list, const char* name) {
        Click(list, name);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, At(list, name));
    }

    DemoFixture demo;
    ScriptedPrompter prompter;
    FakeToolRunner runner;
    SteadyClock clock;
    Services services{prompter, runner, clock};
    RegistryFile registry;
    Session session;
    std::unique_ptr<CMainDlg> window;
};

} // namespace ballotine::test
