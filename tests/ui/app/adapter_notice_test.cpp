// The remembered USB adapter plugged into another socket: the window opens it under its new
// COM number and says so in the status bar, where the connection's own texts do not wipe it out.

#include <gtest/gtest.h>

#include <QLabel>
#include <QStatusBar>
#include <filesystem>

#include "app_fixture.h"
#include "comm/serialport.h"
#include "core/comm/pty_pair.h"
#include "platform/settings_keys.h"
#include "support/fake_sysfs.h"

namespace korvath::testing {
namespace {

TEST(AdapterNotice, TheAdapterUnderItsNewNumberIsUsedAndNamed) {
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ShellHome env(false);
    env.home.Write("korvath.INI", "[Communication Settings]\nCOMPortNumber=33\nCOMPortAdapter=A12345\n");
    FakeSysfs sysfs(env.home.File("root"));
    sysfs.AddUsbAdapter("ttyUSB1", "1-2", "0403", "6001", "FTDI", "FT232R USB UART", "A12345");
    // COM34 leads to a pseudo-terminal, so no real device is opened.
    std::filesystem::create_directories(env.home.File("ports"));
    std::filesystem::create_symlink(pty.slave(), env.home.File("ports/COM34"));
    env.options.transport = [&](SettingsStore& settings, const std::string&) {
        SerialPortConfig config;
        config.settings = &settings;
        config.portsDirectory = env.home.File("ports");
        config.deviceRoot = sysfs.root();
        return std::unique_ptr<ByteTransport>(std::make_unique<CSerialPort>(config, nullptr));
    };
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({}));
    auto* notice = app.mainFrame()->statusBar()->findChild<QLabel*>(QStringLiteral("linkNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text().toStdString(), "The adapter FT232R USB UART A12345 is now COM34");
    EXPECT_EQ(notice->accessibleName().toStdString(), "Link notice");
    IniSettingsStore stored(env.home.File("korvath.INI"));
    EXPECT_EQ(stored.GetInt(settings::kCommunication, settings::kComPortNumber, 0), 34);
}

}  // namespace
}  // namespace korvath::testing
