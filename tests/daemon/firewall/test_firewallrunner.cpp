#include "firewallrunner.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string read(const std::string& path)
{
    std::ifstream f(path);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace

TEST(FirewallRunner, ReportsExitStatusOutputAndErrors)
{
    TempDir dir;
    SystemFirewallRunner runner;
    std::string err;
    EXPECT_EQ(runner.run({"sh", "-c", "echo oops >&2; exit 3"}, {}, {}, &err), 3);
    EXPECT_EQ(err, "oops\n");
    EXPECT_EQ(runner.run({"kestrova-no-such-program"}, {}, {}, &err), -1);
    EXPECT_EQ(runner.run({"sh", "-c", "kill -9 $$"}, {}, {}, nullptr), -1) << "killed is not success";

    // Standard input from a file, standard output into a new private file.
    std::ofstream(dir / "in") << "line one\nline two\n";
    EXPECT_EQ(runner.run({"wc", "-l"}, dir / "in", dir / "out", nullptr), 0);
    EXPECT_EQ(read(dir / "out"), "2\n");
    EXPECT_EQ(runner.run({"cat"}, dir / "missing", dir / "out2", nullptr), 127);
}

TEST(FirewallRunner, GivesUpOnAHangingProgram)
{
    SystemFirewallRunner runner(300);
    std::string err;
    EXPECT_EQ(runner.run({"sleep", "30"}, {}, {}, &err), -1);
    EXPECT_EQ(err, "timed out");
    // Closing its error output does not get it out of the time limit.
    EXPECT_EQ(runner.run({"sh", "-c", "exec 2>&-; exec sleep 30"}, {}, {}, &err), -1);
}

TEST(FirewallRunner, ProgramsInheritNoDescriptorsOrSignalStateOfTheDaemon)
{
    TempDir dir;
    std::ofstream(dir / "not-a-program") << "\x7f"
                                            "ELF garbage";
    chmod((dir / "not-a-program").c_str(), 0700);
    SystemFirewallRunner runner;
    std::string err;
    EXPECT_EQ(runner.run({dir / "not-a-program"}, {}, {}, &err), -1) << "an exec failure is no exit code";
    EXPECT_EQ(err, strerror(ENOEXEC));
    EXPECT_FALSE(runner.spawnDetached({dir / "not-a-program"}));
    EXPECT_TRUE(runner.spawnDetached({"true"}));

    sigset_t block, old;
    sigemptyset(&block);
    sigaddset(&block, SIGUSR2);
    pthread_sigmask(SIG_BLOCK, &block, &old);
    const auto oldHandler = signal(SIGUSR1, SIG_IGN);
    EXPECT_EQ(runner.run({"grep", "-qE", "^SigIgn:\\s+0+$", "/proc/self/status"}, {}, {}, nullptr), 0);
    EXPECT_EQ(runner.run({"grep", "-qE", "^SigBlk:\\s+0+$", "/proc/self/status"}, {}, {}, nullptr), 0);
    signal(SIGUSR1, oldHandler);
    pthread_sigmask(SIG_SETMASK, &old, nullptr);

    const int fd = open((dir / "secret").c_str(), O_CREAT | O_RDWR, 0600); // without O_CLOEXEC
    ASSERT_GE(fd, 3);
    const std::string probe = "[ -e /proc/self/fd/" + std::to_string(fd) + " ]";
    EXPECT_EQ(runner.run({"sh", "-c", probe}, {}, {}, nullptr), 1);
    close(fd);
}
