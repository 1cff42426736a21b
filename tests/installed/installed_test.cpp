// The programs as a normal user finds them after `cmake --install`: the prefix belongs to
// someone else and cannot be written, so everything the programs write goes to the user's
// folders. Run as root, the programs run as "nobody" (setpriv for the installed programs,
// setuid in a child for the mail preparation, which has no command of its own).

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "calibration/support_mail.h"
#include "document/diagnostics.h"
#include "document/qrndoc.h"
#include "support/recording_host.h"
#include "support/sim_transport.h"

namespace korvath {
namespace {

namespace fs = std::filesystem;
using namespace korvath::testing;

constexpr uid_t kNobody = 65534;
constexpr char kSetpriv[] = "/usr/bin/setpriv";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

using Environment = std::map<std::string, std::string>;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// One installed tree for the whole suite, read-only below its prefix, and a home of the user.
class InstalledTree : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (::geteuid() == 0 && ::access(kSetpriv, X_OK) != 0) {
            skipReason_ = "running as root without setpriv: no way to run the programs as a normal user";
            return;
        }
        char pattern[] = "/tmp/korvath-installed-XXXXXX";
        if (!::mkdtemp(pattern)) return;
        root_ = pattern;
        fs::permissions(root_, fs::perms(0755));
        const std::string build = fs::path(KORVATH_BIN_DIR).parent_path().string();
        const std::string install =
            "cmake --install '" + build + "' --prefix '" + Prefix() + "' >'" + root_ + "/install.log' 2>&1";
        if (std::system(install.c_str()) != 0) return;
        for (const auto& entry : fs::recursive_directory_iterator(Prefix()))
            if (!entry.is_symlink()) fs::permissions(entry.path(), WriteBits(), fs::perm_options::remove);
        fs::permissions(Prefix(), WriteBits(), fs::perm_options::remove);
        installed_ = true;
    }
    static void TearDownTestSuite() {
        if (root_.empty()) return;
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(root_, ec))
            if (!entry.is_symlink())
                fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }

    void SetUp() override {
        if (!skipReason_.empty()) GTEST_SKIP() << skipReason_;
        ASSERT_TRUE(installed_) << ReadFile(root_ + "/install.log");
        home_ = root_ + "/home-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(home_);
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(home_.c_str(), kNobody, kNobody), 0);
        }
    }

    static fs::perms WriteBits() {
        return fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    }
    static std::string Prefix() { return root_ + "/usr"; }
    static std::string InstalledProgramDirectory() { return Prefix() + "/lib/korvath"; }
    const std::string& home() const { return home_; }
    std::string UserData() const { return home_ + "/.local/share/korvath"; }

    // A file in the user's home, written as the user would (owned by them).
    std::string WriteAsUser(const std::string& relative, const std::string& content) const {
        const fs::path path = home_ + "/" + relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        if (::geteuid() == 0)
            for (fs::path p = path; p != fs::path(home_); p = p.parent_path())
                (void)::chown(p.c_str(), kNobody, kNobody);
        return path.string();
    }

    // argv and the environment of an installed program run as the user.
    std::vector<std::string> Command(const std::vector<std::string>& args, const Environment& extra,
                                     std::vector<std::string>& env) const {
        std::vector<std::string> argv;
        if (::geteuid() == 0) argv = {kSetpriv, "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
        argv.push_back(Prefix() + "/bin/" + args.front());
        argv.insert(argv.end(), args.begin() + 1, args.end());
        Environment all{{"HOME", home_}, {"PATH", "/usr/bin:/bin"}, {"LANG", "C"}};
        for (const auto& [k, v] : extra) all[k] = v;
        for (const auto& [k, v] : all) env.push_back(k + "=" + v);
        return argv;
    }

    static pid_t Start(std::vector<std::string> argv, std::vector<std::string> env, int out, int err) {
        const pid_t pid = ::fork();
        if (pid != 0) return pid;
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        const int in = ::open("/dev/null", O_RDONLY);
        ::dup2(in, STDIN_FILENO);
        std::vector<char*> rawArgs, rawEnv;
        for (auto& a : argv) rawArgs.push_back(a.data());
        for (auto& e : env) rawEnv.push_back(e.data());
        rawArgs.push_back(nullptr);
        rawEnv.push_back(nullptr);
        ::execve(rawArgs[0], rawArgs.data(), rawEnv.data());
        ::_exit(127);
    }

    Outcome Run(const std::vector<std::string>& args, const Environment& extra = {}) const {
        std::vector<std::string> env;
        const auto argv = Command(args, extra, env);
        const std::string outPath = root_ + "/out.txt", errPath = root_ + "/err.txt";
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const pid_t pid = Start(argv, env, out, err);
        ::close(out);
        ::close(err);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(outPath), ReadFile(errPath)};
    }

    // The installed simulator, run as the user so that its pseudo-terminal is the user's.
    class Simulator {
      public:
        explicit Simulator(const InstalledTree& tree) {
            std::vector<std::string> env;
            const auto argv = tree.Command({"korvath-sim", "--no-drive"}, {}, env);
            int pipeFds[2];
            if (::pipe(pipeFds) != 0) return;
            const int err = ::open("/dev/null", O_WRONLY);
            pid_ = Start(argv, env, pipeFds[1], err);
            ::close(pipeFds[1]);
            ::close(err);
            std::string line;
            char c;
            while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') line.push_back(c);
            fd_ = pipeFds[0];
            if (line.rfind("PTY ", 0) == 0) pty_ = line.substr(4);
        }
        ~Simulator() {
            if (pid_ > 0) {
                ::kill(pid_, SIGTERM);
                ::waitpid(pid_, nullptr, 0);
            }
            if (fd_ >= 0) ::close(fd_);
        }
        Simulator(const Simulator&) = delete;
        Simulator& operator=(const Simulator&) = delete;
        const std::string& pty() const { return pty_; }

      private:
        pid_t pid_ = -1;
        int fd_ = -1;
        std::string pty_;
    };

    static inline std::string root_;
    static inline std::string skipReason_;
    static inline bool installed_ = false;
    std::string home_;
};

TEST_F(InstalledTree, TheRamDumpGoesToTheUsersDataFolderAndAFileFailureSaysSo) {
    Simulator sim(*this);
    ASSERT_FALSE(sim.pty().empty());
    const Outcome dump = Run({"korvath-cli", "dump-ram", "--device", sim.pty()});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_EQ(dump.out, UserData() + "/RAMDump.txt\n");
    EXPECT_EQ(ReadFile(UserData() + "/RAMDump.txt").size(),
              RamDumpText(std::vector<unsigned char>(256)).size());
    EXPECT_FALSE(fs::exists(InstalledProgramDirectory() + "/RAMDump.txt"));
    // The identification is remembered in the user's settings file.
    EXPECT_TRUE(fs::exists(home() + "/.config/korvath/korvath.INI"));

    // A data folder that cannot be made: the file's fault, named with its path and reason.
    const std::string blocker = WriteAsUser("blocker", "");
    const Outcome blocked =
        Run({"korvath-cli", "dump-ram", "--device", sim.pty()}, {{"XDG_DATA_HOME", blocker}});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.err.find("The RAM dump could not be saved as " + blocker +
                               "/korvath/RAMDump.txt: Not a directory"),
              std::string::npos)
        << blocked.err;
    EXPECT_EQ(blocked.err.find("could not be read"), std::string::npos) << blocked.err;
}

TEST_F(InstalledTree, TheUsersDefinitionFolderIsListedAndUsed) {
    const std::string program = InstalledProgramDirectory() + "/PID2/3";
    const std::string user = UserData() + "/PID2/3";
    std::string kv4 = ReadFile(program + "/KV4.def");
    const std::string generic = ReadFile(program + "/generic.init");
    ASSERT_NE(kv4.find("TransmissionType"), std::string::npos);
    WriteAsUser(".local/share/korvath/PID2/3/Workshop.def", kv4);
    const std::string name = "LogicalName      Generic";
    ASSERT_NE(generic.find(name), std::string::npos);
    WriteAsUser(".local/share/korvath/PID2/3/generic.init",
                std::string(generic).replace(generic.find(name), name.size(), "LogicalName WorkshopGeneric"));

    const Outcome listed = Run({"korvath-cli", "definitions"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    const auto json = nlohmann::json::parse(listed.out);
    EXPECT_EQ(json["directory"], program);
    EXPECT_EQ(json["userDirectory"], user);
    std::map<std::string, std::string> where;
    for (const auto& d : json["definitions"]) where[d["fileName"]] = d["directory"];
    EXPECT_EQ(where["KV4.def"], program);
    EXPECT_EQ(where["Workshop.def"], user);

    // A new calibration starts from the user's generic definition, which hides the program's.
    const std::string calibration = home() + "/new.qvr";
    const Outcome made = Run({"korvath-cli", "new", calibration});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const Outcome shown = Run({"korvath-cli", "show", calibration});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(nlohmann::json::parse(shown.out)["application"]["LogicalName"], "WorkshopGeneric");
}

// What the mail to technical support is given, prepared in a child that runs as the user.
TEST_F(InstalledTree, TheSupportMailIsPreparedInTheUsersFolders) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        ::setenv("HOME", home().c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("TMPDIR");
        sim::ControllerConfig config;
        config.drive = false;
        sim::Controller controller(config);
        RecordingHost host;
        MemorySettings settings;
        CQRNDoc doc(DocumentHost{host, host, settings}, InstalledProgramDirectory(),
                    std::make_unique<SimTransport>(controller));
        doc.SetModifiedFlag(true);
        nlohmann::json report;
        if (auto mail = PrepareSupportMail(doc, "", "Untitled")) {
            for (const auto& a : mail->attachments)
                report["attachments"].push_back({a.path, fs::exists(a.path)});
            report["folder"] = mail->temporaryFolder;
            FinishSupportMail(*mail);
            report["folderLeft"] = fs::exists(mail->temporaryFolder);
        }
        const std::string text = report.dump();
        const bool sent = ::write(pipeFds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(sent ? 0 : 3);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;

    const auto report = nlohmann::json::parse(text);
    ASSERT_EQ(report["attachments"].size(), 2u) << text;
    EXPECT_TRUE(report["attachments"][0][1]);  // the temporary copy
    EXPECT_EQ(fs::path(report["attachments"][0][0].get<std::string>()).parent_path(),
              report["folder"].get<std::string>());
    EXPECT_EQ(report["attachments"][1][0], UserData() + "/RAMDump.txt");
    EXPECT_TRUE(report["attachments"][1][1]);
    EXPECT_FALSE(report["folderLeft"]);
}

}  // namespace
}  // namespace korvath
