// The dashboard on the demo definition against korvath-sim over a pseudo-terminal: titles
// through connection and loss, values, the crosshair, and the teardown that stops polling.

#include "ui/dashboard/dashboard.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDockWidget>
#include <fstream>
#include <memory>
#include <sstream>

#include "comm/serialport.h"
#include "core/comm/fake_link.h"
#include "document/qrndoc.h"
#include "support/qt_test_app.h"
#include "support/recording_host.h"
#include "support/sim_process.h"
#include "ui/app/control_id_pool.h"
#include "ui/dynui/control_environment.h"
#include "ui/dynui/dynamicstatic.h"
#include "ui/graph/qrnview.h"

namespace korvath {
namespace {

using namespace korvath::testing;

std::string DemoDefinition() {
    std::ifstream in(std::string(KORVATH_SOURCE_DIR) + "/data/PID2/3/KV4.def");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class DashboardTest : public ::testing::Test {
protected:
    DashboardTest() { TestApp(); }
    ~DashboardTest() override {
        dock.reset();
        view.reset();
        doc.reset();
        ui::DynamicControlEnvironment() = ui::ControlEnvironment{};
    }

    // A document linked to korvath-sim (started with `options`) on the demo definition, and a
    // dashboard built on it.
    void Start(std::vector<std::string> options) {
        options.insert(options.end(), {"--hardware", "2"});
        sim = std::make_unique<test::SimProcess>(options);
        ASSERT_FALSE(sim->pty().empty());
        SerialPortConfig config;
        config.devicePath = sim->pty();
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings, &timer}, dir.path(),
                                        std::make_unique<CSerialPort>(config, nullptr));
        ui::DynamicControlEnvironment() = ui::ControlEnvironment{&pool, &host, {}};
        ASSERT_TRUE(doc->IdentifyController(0, 1));
        ASSERT_TRUE(doc->LoadDefinitionFile(dir.Write("PID2/3/KV4.def", DemoDefinition())));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        view = std::make_unique<ui::CQRNView>(*doc);
        view->resize(600, 400);
        view->show();
        QCoreApplication::processEvents();  // exposed: repaints paint at once
        dock = std::make_unique<QDockWidget>();
        dashboard = new ui::CDashboard(dock.get());
        dock->setWidget(dashboard);
        dashboard->document = doc.get();
        dashboard->SetTuningView(view.get());
        ASSERT_TRUE(dashboard->BuildDashboard());
    }
    // Ticks the poll timer until `done` holds (at most `limit` ticks).
    template <typename Done>
    bool TickUntil(Done done, int limit) {
        for (int i = 0; i < limit && !done(); ++i) timer.Fire();
        return done();
    }
    QString Title() const { return dock->windowTitle(); }

    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    test::RecordingTimer timer;
    ui::ControlIdPool pool;
    std::unique_ptr<test::SimProcess> sim;
    std::unique_ptr<CQRNDoc> doc;
    std::unique_ptr<ui::CQRNView> view;
    std::unique_ptr<QDockWidget> dock;
    ui::CDashboard* dashboard = nullptr;
};

TEST_F(DashboardTest, ValuesCrosshairAndTeardown) {
    Start({});
    const auto& displays = dashboard->displays();
    ASSERT_EQ(displays.size(), 9u);  // the demo's monitored items
    EXPECT_EQ(Title(), QStringLiteral("Dashboard - No Communication with Controller"));
    EXPECT_EQ(displays[0]->geometry(), QRect(15, 30, 80, 50));
    EXPECT_EQ(dashboard->CaptionOf(0)->geometry(), QRect(10, 10, 90, 20));
    EXPECT_EQ(displays[2]->geometry().left(), 215);
    for (ui::CDynamicStatic* d : displays) {
        EXPECT_EQ(d->text(), QStringLiteral("--"));
        EXPECT_FALSE(d->isEnabled());
    }
    EXPECT_EQ(dashboard->pollHandle(), 1);

    const int paintsBefore = view->paintCount();
    ASSERT_TRUE(TickUntil([&] { return dashboard->state().valuesShown() >= 9; }, 40));
    EXPECT_EQ(Title(), QStringLiteral("Dashboard - Connected"));
    for (ui::CDynamicStatic* d : displays) {
        EXPECT_NE(d->text(), QStringLiteral("--"));
        EXPECT_TRUE(d->isEnabled());
        EXPECT_TRUE(dashboard->CaptionOf(0)->isEnabled());
    }
    EXPECT_EQ(displays[0]->accessibleName(), QStringLiteral("Throttle: ") + displays[0]->text());
    EXPECT_EQ(displays[1]->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0x80));
    // Throttle moves the crosshair across, speed up the curves.
    EXPECT_NE(view->graph().CrosshairX(), graph::kHidden);
    EXPECT_GT(view->paintCount(), paintsBefore);

    // Hiding the bar: polling stops, the displays go, the crosshair with them.
    dashboard->TeardownDashboard();
    EXPECT_EQ(Title(), QStringLiteral("Dashboard"));
    EXPECT_TRUE(dashboard->displays().empty());
    EXPECT_EQ(doc->monitor()->item_count(), 0);
    EXPECT_EQ(timer.periods.back(), 1000u);
    EXPECT_EQ(view->graph().CrosshairX(), graph::kHidden);
    timer.Fire();
    EXPECT_EQ(Title(), QStringLiteral("Dashboard"));

    // Shown again: built from the definition, polling again.
    ASSERT_TRUE(dashboard->BuildDashboard());
    EXPECT_EQ(dashboard->displays().size(), 9u);
    EXPECT_TRUE(TickUntil([&] { return Title() == QStringLiteral("Dashboard - Connected"); }, 5));
}

TEST_F(DashboardTest, UnpluggedControllerShowsTheLoss) {
    Start({"--fault", "unplug-after:600"});
    ASSERT_TRUE(TickUntil([&] { return dashboard->state().connected() == 1; }, 20));
    EXPECT_EQ(Title(), QStringLiteral("Dashboard - Connected"));
    ASSERT_TRUE(TickUntil([&] { return dashboard->state().connected() == 0; }, 200));
    EXPECT_EQ(Title(), QStringLiteral("Dashboard - No Communication with Controller"));
    for (ui::CDynamicStatic* d : dashboard->displays()) EXPECT_FALSE(d->isEnabled());
    EXPECT_EQ(view->graph().CrosshairX(), graph::kHidden);
}

}  // namespace
}  // namespace korvath
