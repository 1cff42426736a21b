// Tools > Communication Trace...: started on the window's link it writes what crosses it and
// checks its item; chosen again it stops; without a link it says so and stays off.

#include <gtest/gtest.h>

#include <QAction>
#include <QStatusBar>
#include <fstream>
#include <sstream>

#include "app_fixture.h"
#include "comm/serialport.h"
#include "comm/vuz_monitor.h"
#include "core/comm/pty_pair.h"
#include "ui/tools/communication_trace_tool.h"
#include "ui/tools/tools_menu.h"

namespace korvath::testing {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(CommunicationTrace, TracesTheWindowsLinkUntilChosenAgain) {
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ShellHome env;
    env.options.transport = [&](SettingsStore&, const std::string&) {
        SerialPortConfig config;
        config.devicePath = pty.slave();
        return std::unique_ptr<ByteTransport>(std::make_unique<CSerialPort>(config, nullptr));
    };
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({}));
    ui::CommunicationTraceTool& tool = app.mainFrame()->tools()->communicationTrace();
    const std::string path = env.home.File("trace.txt");
    ASSERT_TRUE(tool.Start(QString::fromStdString(path)));
    EXPECT_TRUE(tool.action()->isChecked());
    EXPECT_EQ(app.mainFrame()->statusBar()->currentMessage().toStdString(), "Communication trace started: " + path);

    const unsigned char bytes[] = {'W', 0x7F};
    app.document()->monitor()->transport()->write(bytes, 2);
    tool.action()->trigger();  // chosen again: stops
    EXPECT_FALSE(tool.active());
    EXPECT_FALSE(tool.action()->isChecked());
    EXPECT_EQ(app.mainFrame()->statusBar()->currentMessage().toStdString(), "Communication trace stopped: " + path);
    const std::string text = FileText(path);
    EXPECT_NE(text.find(" > 57 7F\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" trace ended\n"), std::string::npos) << text;
    // Stopped, the link writes into it no more.
    app.document()->monitor()->transport()->write(bytes, 2);
    EXPECT_EQ(FileText(path), text);
}

TEST(CommunicationTrace, WithoutALinkItSaysWhyAndStaysOff) {
    ShellHome env;  // no controller link at all
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({}));
    BoxAnswerer boxes;
    ui::CommunicationTraceTool& tool = app.mainFrame()->tools()->communicationTrace();
    EXPECT_FALSE(tool.Start(QString::fromStdString(env.home.File("trace.txt"))));
    EXPECT_FALSE(tool.action()->isChecked());
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "Communication Trace");
    EXPECT_TRUE(boxes.seen[0].text.contains("cannot be traced")) << boxes.seen[0].text.toStdString();
}

}  // namespace
}  // namespace korvath::testing
