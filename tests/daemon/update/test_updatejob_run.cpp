// The update job for real: packages built with dpkg-deb, the staged copy
// checked by dpkg-deb, and the job script run against stub programs in a
// private mount namespace (a private /tmp stands in for the X sockets).
// The whole binary runs in a PID namespace of its own (see CMakeLists.txt):
// the processes the job looks at and kills are only ours, and a job still
// running when the binary ends dies with it.
#include "firewallrunner.h"
#include "tempdir.h"
#include "updatejob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

// Checks packages with the real dpkg-deb but only records the delayed start.
class RecordingSpawnRunner : public SystemFirewallRunner
{
public:
    std::vector<std::vector<std::string>> spawned;
    bool spawnDetached(const std::vector<std::string>& argv) override
    {
        spawned.push_back(argv);
        return true;
    }
};

std::string read(const std::string& path)
{
    std::ifstream f(path);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

Lines lines(const std::string& text)
{
    Lines out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

// Kills (SIGKILL) every process whose command line names `path`; returns how
// many there were.
int stopProcessesUsing(const std::string& path)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string cmdline = read(entry.path() / "cmdline");
        std::replace(cmdline.begin(), cmdline.end(), '\0', ' ');
        if (cmdline.find(path) != std::string::npos && std::stoi(name) != getpid()) {
            kill(std::stoi(name), SIGKILL);
            ++count;
        }
    }
    return count;
}

pid_t start(const std::vector<std::string>& argv)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

void writeExecutable(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
    chmod(path.c_str(), 0755);
}

class UpdateJobRun : public ::testing::Test
{
protected:
    // Not under /tmp: the script runs with a private, empty /tmp.
    TempDir work{std::filesystem::current_path().string()};
    std::string jobDir = work / "kestrova";
    std::string stubs = work / "stubs";
    std::string log = work / "calls.log";
    std::shared_ptr<RecordingSpawnRunner> runner = std::make_shared<RecordingSpawnRunner>();

    void SetUp() override
    {
        mkdir(jobDir.c_str(), 0700);
        mkdir(stubs.c_str(), 0755);
        // Every stub records how it was called; none does anything real.
        const std::string logTarget = "${STUB_LOG:-" + log + "}";
        for (const char* name : {"dpkg", "systemctl", "su"})
            writeExecutable(stubs + "/" + name, "#!/bin/sh\necho \"" + std::string(name) +
                                                    " $* DISPLAY=$DISPLAY\" >>\"" + logTarget + "\"\n");
        // Anybody may log in, and anybody may put a socket into /tmp/.X11-unix:
        // neither says who sits at the machine.
        writeExecutable(stubs + "/who", "#!/bin/sh\necho \"who $*\" >>\"" + logTarget +
                                            "\"\necho 'carol    tty2         2026-12-08 09:00 (:3)'\n"
                                            "echo 'alice    tty7         2026-12-08 10:00 (:0)'\n"
                                            "echo 'bob      tty8         2026-12-08 11:00 (:7)'\n");
        // logind's answers, from the files activeSession() writes.
        writeExecutable(stubs + "/loginctl", "#!/bin/sh\necho \"loginctl $*\" >>\"" + logTarget +
                                                 "\"\n"
                                                 "case \"$1\" in\n"
                                                 "  show-seat) cat ./stubs/active-session 2>/dev/null ;;\n"
                                                 "  show-session) sed -n \"s/^${3#--property=}=//p\" "
                                                 "\"./stubs/session-$2\" 2>/dev/null ;;\n"
                                                 "esac\n");
    }

    // The session logind reports as active on seat0, with its user and
    // display; no id: nobody in front.
    void activeSession(const std::string& id, const std::string& name = {}, const std::string& display = {})
    {
        unlink((stubs + "/active-session").c_str());
        if (id.empty())
            return;
        std::ofstream(stubs + "/active-session") << id << "\n";
        std::ofstream(stubs + "/session-" + id) << "Name=" << name << "\nDisplay=" << display << "\n";
    }

    std::string buildPackage(const std::string& name)
    {
        const std::string root = work / ("pkg-" + name);
        mkdir(root.c_str(), 0755);
        mkdir((root + "/DEBIAN").c_str(), 0755);
        std::ofstream(root + "/DEBIAN/control")
            << "Package: " << name
            << "\nVersion: 3.7.0\nArchitecture: all\n"
               "Maintainer: Lab <lab@example.org>\nDescription: test package\n";
        const std::string deb = work / (name + ".deb");
        SystemFirewallRunner sys;
        EXPECT_EQ(sys.run({"dpkg-deb", "--root-owner-group", "--build", root, deb}, {}, {}, nullptr), 0);
        return deb;
    }

    // Runs the job script with the stubs first in PATH, a private /run where
    // systemd runs, and a private /tmp that holds the given X socket names. The work folder may itself be
    // under /tmp: the shell enters it first and then reaches everything through relative paths, which still
    // lead there once /tmp is covered.
    Lines runScript(const std::string& script, const std::string& xSockets)
    {
        unlink(log.c_str());
        const std::string relative = script.substr(work.path().size() + 1);
        const std::string shell = "cd \"$1\" && mount -t tmpfs kestrova-test /tmp && mkdir /tmp/.X11-unix && "
                                  "for x in $3; do touch /tmp/.X11-unix/$x; done && "
                                  "mount -t tmpfs kestrova-test /run && mkdir -p /run/systemd/system && "
                                  "PATH=\"./stubs:$PATH\" STUB_LOG=./calls.log exec sh \"$2\"";
        SystemFirewallRunner sys(10000);
        std::string err;
        EXPECT_EQ(sys.run({"unshare", "--mount", "--propagation", "private", "sh", "-c", shell, "sh",
                           work.path(), relative, xSockets},
                          {}, {}, &err),
                  0)
            << err;
        return lines(read(log));
    }
};

} // namespace

TEST_F(UpdateJobRun, OurPackageIsStagedAndForeignOnesAreRefused)
{
    UpdateJob job(jobDir, runner, false);
    const std::string ours = buildPackage("kestrova");
    ASSERT_TRUE(job.run(ours));
    EXPECT_EQ(read(job.stagedPackagePath()), read(ours));
    ASSERT_EQ(runner->spawned.size(), 1u);

    EXPECT_FALSE(job.run(buildPackage("kestrova-tools")));
    EXPECT_FALSE(job.run(buildPackage("other")));
    const std::string notADeb = work / "notadeb.deb";
    std::ofstream(notADeb) << "just text";
    EXPECT_FALSE(job.run(notADeb));
    const std::string link = work / "link.deb";
    ASSERT_EQ(symlink(ours.c_str(), link.c_str()), 0);
    EXPECT_FALSE(job.run(link));
    EXPECT_EQ(runner->spawned.size(), 1u);
}

TEST_F(UpdateJobRun, ScriptStopsOnlyTheClientAndTheServiceThenStartsTheClientOnDisplayZero)
{
    UpdateJob job(jobDir, runner, false);
    ASSERT_TRUE(job.run(buildPackage("kestrova")));

    // The running client, and bystanders whose names or command lines
    // mention the programs, such as a journal follower.
    const std::string client = stubs + "/kestrova";
    const std::string watcher = stubs + "/kestrovad-watch";
    writeExecutable(client, read("/bin/sleep"));
    writeExecutable(watcher, read("/bin/sleep"));
    const pid_t victim = start({client, "30"});
    const std::vector<pid_t> bystanders{start({watcher, "30"}),
                                        start({"sh", "-c", "sleep 30; : journalctl -u kestrovad kestrova"})};
    std::ofstream(job.scriptPath()) << UpdateJob::scriptText(job.stagedPackagePath(), client);
    activeSession("c2", "alice", ":0");
    const Lines calls = runScript(job.scriptPath(), "");
    int status = 0;
    waitpid(victim, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    for (pid_t bystander : bystanders) {
        EXPECT_EQ(waitpid(bystander, &status, WNOHANG), 0) << "a bystander was killed";
        kill(bystander, SIGKILL);
        waitpid(bystander, &status, 0);
    }

    EXPECT_EQ(calls, (Lines{
                         "systemctl stop kestrovad DISPLAY=",
                         "dpkg -i " + job.stagedPackagePath() + " DISPLAY=",
                         "loginctl show-seat seat0 --property=ActiveSession --value",
                         "loginctl show-session c2 --property=Name --value",
                         "loginctl show-session c2 --property=Display --value",
                         "su -l alice -c kestrova -style=gtk & DISPLAY=:0",
                     }));
}

TEST_F(UpdateJobRun, NobodyInFrontStartsNoClientWhateverTheDisplaySocketsSay)
{
    const std::string script = work / "job.sh";
    std::ofstream(script) << UpdateJob::scriptText("/var/cache/kestrova/update.deb");
    // Another user planted a socket for the display bob logged in on.
    activeSession("");
    const Lines calls = runScript(script, "X7");
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "loginctl show-seat seat0 --property=ActiveSession --value");
}

TEST_F(UpdateJobRun, ScriptStartsTheClientForTheActiveSessionsUserOnTheirDisplay)
{
    const std::string script = work / "job.sh";
    std::ofstream(script) << UpdateJob::scriptText("/var/cache/kestrova/update.deb");
    activeSession("c7", "bob", ":7");
    Lines calls = runScript(script, "X0 X3");
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "su -l bob -c kestrova -style=gtk & DISPLAY=:7");

    // A session without an X display (Wayland) still gets the client.
    activeSession("c8", "bob", "");
    calls = runScript(script, "");
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "su -l bob -c kestrova -style=gtk & DISPLAY=:0");

    // Nothing logind could answer reaches the shell as code or an option.
    for (const char* name : {"-c id", "bob;id", "$(id)", "bob id"}) {
        activeSession("c9", name, ":7");
        calls = runScript(script, "");
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), "loginctl show-session c9 --property=Display --value") << name;
    }
    activeSession("c9", "bob", ":7;id");
    calls = runScript(script, "");
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "su -l bob -c kestrova -style=gtk & DISPLAY=:0");
}

TEST_F(UpdateJobRun, JobStartsOnlyAfterTheReply)
{
    // The real delayed start: nothing has run when run() returns, the job
    // follows about five seconds later.
    const char* oldPath = getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    setenv("PATH", (stubs + ":" + savedPath).c_str(), 1);
    UpdateJob job(jobDir, std::make_shared<SystemFirewallRunner>(), false);
    const bool started = job.run(buildPackage("kestrova"));
    const bool quietAtReply = access(log.c_str(), F_OK) != 0;
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_TRUE(started);
    EXPECT_TRUE(quietAtReply);

    bool ran = false;
    for (int i = 0; i < 150 && !ran; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ran = read(log).find("dpkg -i") != std::string::npos;
    }
    EXPECT_TRUE(ran) << "the job did not run within 15 seconds";
    // Let the job finish before the folder goes away; a job still running
    // then is stopped, so that it can never reach the real programs once the
    // stubs are gone.
    for (int i = 0; i < 50 && read(log).find("su -l") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(stopProcessesUsing(job.scriptPath()), 0);
}
