// The korvath-sim program itself: its pty, link, options, images and exit behaviour.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kSimulator = std::string(KORVATH_BIN_DIR) + "/korvath-sim";
// Generous limits for a loaded machine; nothing here measures speed.
constexpr int kWaitMs = 5000;

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, err[0]);
        std::vector<std::string> all = {kSimulator};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, kSimulator.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~SimProcess() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
        if (err_ >= 0) close(err_);
    }

    // The first line of standard output.
    std::string FirstLine() {
        std::string line;
        char ch;
        while (WaitReadable(out_) && read(out_, &ch, 1) == 1 && ch != '\n') line += ch;
        return line;
    }

    // Waits for the exit; -1 when it does not come.
    int Wait() {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            usleep(10000);
        }
        return -1;
    }

    int Stop(int signal_number) {
        kill(pid_, signal_number);
        return Wait();
    }

    std::string Stderr() {
        std::string text;
        char buf[512];
        ssize_t n;
        while (WaitReadable(err_) && (n = read(err_, buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
        return text;
    }

    bool started() const { return pid_ > 0; }

    static bool WaitReadable(int fd, int ms = kWaitMs) {
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, ms) > 0;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool exited_ = false;
};

int OpenPort(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

// Writes the bytes and reads until `expected` bytes came or the line stays quiet.
std::string Exchange(int fd, const std::string& bytes, std::size_t expected) {
    if (!bytes.empty() && write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return "<write failed>";
    std::string got;
    char buf[256];
    while (got.size() < expected && SimProcess::WaitReadable(fd)) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

std::string PtyPath(const std::string& line) { return line.rfind("PTY ", 0) == 0 ? line.substr(4) : std::string(); }

class SimBinary : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korvath-sim-test-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(SimBinary, ServesThePtyThroughItsLinkAndReportsStatisticsOnTerm) {
    const std::string link = (dir_ / "ports" / "COM9").string();
    SimProcess sim({"--link", link, "--stats", "--no-drive"});
    ASSERT_TRUE(sim.started());
    std::string path = PtyPath(sim.FirstLine());
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(fs::read_symlink(link).string(), path);

    int fd = OpenPort(link);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, "e", 1), "e");
    EXPECT_EQ(Exchange(fd, "3", 1), "3");
    EXPECT_EQ(Exchange(fd, "A", 3), "AFF");
    EXPECT_EQ(Exchange(fd, "w00v00", 10), "w0033v0021");
    close(fd);

    // Closed and opened again, as the tool does while it looks for a controller.
    fd = OpenPort(path);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, "f2C", 5), "f2C00");
    close(fd);

    EXPECT_EQ(sim.Stop(SIGTERM), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    std::string stats = sim.Stderr();
    ASSERT_EQ(std::count(stats.begin(), stats.end(), '\n'), 1) << stats;
    auto json = nlohmann::json::parse(stats);
    EXPECT_EQ(json["bytes_received"], 12);
    EXPECT_EQ(json["bytes_sent"], 12 + 2 * 4);  // echoes and two value digits per read
    EXPECT_EQ(json["commands"], nlohmann::json::parse(R"({"e":1,"f":1,"v":1,"w":1})"));
    EXPECT_EQ(json["packets"]["up"], 0);
    EXPECT_EQ(json["burns"]["failed"], 0);
    EXPECT_TRUE(json["faults_fired"].empty());
}

TEST_F(SimBinary, LoadsAnEepromImageAndSavesWhatTheToolLeftOnInterrupt) {
    std::vector<char> image(256);
    for (int i = 0; i < 256; ++i) image[static_cast<std::size_t>(i)] = static_cast<char>(255 - i);
    const fs::path file = dir_ / "table.bin";
    std::ofstream(file, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
    const fs::path saved = dir_ / "saved";

    SimProcess sim({"--eeprom", file.string(), "--save-on-exit", saved.string(), "--baud", "9600"});
    std::string path = PtyPath(sim.FirstLine());
    ASSERT_FALSE(path.empty());
    int fd = OpenPort(path);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, "e3A", 5), "e3AC5");
    EXPECT_EQ(Exchange(fd, "f4409n80f4400", 19), "f440009n8001f4409" "00");
    EXPECT_EQ(Exchange(fd, "e3A12", 8), "e3AC512c");
    close(fd);
    EXPECT_EQ(sim.Stop(SIGINT), 0);

    std::ifstream in(saved / "eeprom-table1.bin", std::ios::binary);
    std::vector<char> table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(table.size(), 256u);
    EXPECT_EQ(table[0x3A], 0x12);
    EXPECT_EQ(static_cast<unsigned char>(table[0x3B]), 255 - 0x3B);
    EXPECT_TRUE(fs::exists(saved / "flash-table2.bin"));
}

TEST_F(SimBinary, FlashTableLoadsBurnsAndIsSavedOverThePty) {
    std::string image(64, '\0');
    for (int i = 0; i < 64; ++i) image[static_cast<std::size_t>(i)] = static_cast<char>(0x70 + i);  // holds 0x77
    const fs::path file = dir_ / "flash.bin";
    std::ofstream(file, std::ios::binary) << image;
    const fs::path saved = dir_ / "saved";
    SimProcess sim({"--nvm", "flash2", "--flash-table2", file.string(), "--save-on-exit", saved.string(),
                    "--fault", "delay-ms:5", "--no-drive"});
    std::string path = PtyPath(sim.FirstLine());
    ASSERT_FALSE(path.empty());
    int fd = OpenPort(path);
    ASSERT_GE(fd, 0);
    // Table #2 starts at block (0x7000 + 1024) / 64 = 0x1D0.
    EXPECT_EQ(Exchange(fd, "r1D000", 7), "r1D000c");
    // Header, 64 data bytes of which one escaped, the bare marker, checksum 0x24FB, then c.
    std::string answer = Exchange(fd, "d01003F", 7 + 65 + 1 + 2 + 1);
    ASSERT_GE(answer.size(), 7u);
    EXPECT_EQ(answer.substr(0, 7), "d01003F");
    EXPECT_EQ(answer.find('\0'), std::string::npos);
    EXPECT_NE(answer.find("\x76\xFE\x03\x78"), std::string::npos);  // 0x77 in the data is escaped
    EXPECT_EQ(answer.back(), 'c');
    // Burn the buffer into table #1 as well.
    EXPECT_EQ(Exchange(fd, "b1C00", 5), "b1C00");
    EXPECT_EQ(Exchange(fd, "0", 2), "0c");
    close(fd);
    EXPECT_EQ(sim.Stop(SIGTERM), 0);

    for (const char* name : {"flash-table1.bin", "flash-table2.bin"}) {
        std::ifstream in(saved / name, std::ios::binary);
        std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(table.size(), 1024u) << name;
        EXPECT_EQ(table.substr(0, 64), image) << name;
        EXPECT_EQ(table[64], '\xFF') << name;
    }
}

TEST_F(SimBinary, UnplugFaultHangsUpThePortAndEnds) {
    const std::string link = (dir_ / "COM3").string();
    SimProcess sim({"--fault", "unplug-after:4", "--link", link});
    std::string path = PtyPath(sim.FirstLine());
    ASSERT_FALSE(path.empty());
    int fd = OpenPort(path);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, "w00", 5), "w0033");
    EXPECT_EQ(Exchange(fd, "v", 1), "");  // the fourth byte: unplugged before answering
    EXPECT_EQ(sim.Wait(), 0);
    char ch;
    EXPECT_LE(read(fd, &ch, 1), 0);  // hung up
    close(fd);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST_F(SimBinary, ExitsWhenThePortStaysClosedIfAsked) {
    SimProcess sim({"--exit-when-closed", "0.2"});
    std::string path = PtyPath(sim.FirstLine());
    ASSERT_FALSE(path.empty());
    int fd = OpenPort(path);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, "v00", 5), "v0021");
    close(fd);
    EXPECT_EQ(sim.Wait(), 0);
}

TEST_F(SimBinary, RejectsBadOptionsWithUsage) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--fault", "melt"}, {"--nvm", "tape"}, {"--baud"}, {"--firmware", "33"},
          {"--eeprom", (dir_ / "missing.bin").string()}}) {
        SimProcess sim(args);
        int status = sim.Wait();
        EXPECT_TRUE(status == 1 || status == 2) << args[0] << " gave " << status;
        EXPECT_NE(sim.Stderr().find("korvath-sim:"), std::string::npos) << args[0];
    }
}

TEST_F(SimBinary, RefusesAnImageLargerThanAnEepromTable) {
    const fs::path file = dir_ / "big.bin";
    std::ofstream(file, std::ios::binary) << std::string(257, 'x');
    SimProcess sim({"--eeprom", file.string()});
    EXPECT_EQ(sim.Wait(), 1);
    EXPECT_NE(sim.Stderr().find("longer than 256"), std::string::npos);
}

}  // namespace
