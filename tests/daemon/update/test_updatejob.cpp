#include "fakerunner.h"
#include "tempdir.h"
#include "updatejob.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

class UpdateJobTest : public ::testing::Test
{
protected:
    TempDir dir;
    TempDir downloads;
    std::shared_ptr<FakeRunner> runner = std::make_shared<FakeRunner>();
    UpdateJob job{dir.path(), runner, false};

    std::string package(const std::string& name = "update.deb", const std::string& bytes = "!<arch>\ndeb")
    {
        const std::string path = downloads / name;
        std::ofstream(path) << bytes;
        return path;
    }
};

} // namespace

TEST(UpdateJobPath, OnlyAbsolutePrintableAsciiWithinTheLimit)
{
    EXPECT_TRUE(UpdateJob::isAcceptablePath("/home/alice/.cache/Kestrova/update.deb"));
    EXPECT_TRUE(UpdateJob::isAcceptablePath("/" + std::string(499, 'a')));
    EXPECT_FALSE(UpdateJob::isAcceptablePath("/" + std::string(500, 'a')));
    EXPECT_FALSE(UpdateJob::isAcceptablePath(""));
    EXPECT_FALSE(UpdateJob::isAcceptablePath("update.deb"));
    EXPECT_FALSE(UpdateJob::isAcceptablePath("/tmp/upd\xc3\xa4te.deb"));
    EXPECT_FALSE(UpdateJob::isAcceptablePath("/tmp/a\nb.deb"));
}

TEST_F(UpdateJobTest, StagesTheCheckedPackageAndSchedulesTheJob)
{
    runner->outputs["dpkg-deb"] = "kestrova\n";
    const std::string src = package("update.deb", std::string("!<arch>\n\0deb", 12));
    ASSERT_TRUE(job.run(src));

    // The script installs the staged copy, never the user's file.
    EXPECT_EQ(FakeRunner::read(job.stagedPackagePath()), FakeRunner::read(src));
    const auto script = lines(FakeRunner::read(job.scriptPath()));
    EXPECT_EQ(std::count(script.begin(), script.end(), "dpkg -i \"" + job.stagedPackagePath() + "\""), 1);

    ASSERT_EQ(runner->commands.size(), 1u);
    EXPECT_EQ(runner->commands[0].line.rfind("dpkg-deb --field " + job.stagingDir() + "/incoming.", 0), 0u);
    ASSERT_EQ(runner->spawned.size(), 1u);
    EXPECT_EQ(runner->spawned[0],
              (std::vector<std::string>{"sh", "-c", "sleep 5 && exec sh \"$1\"", "sh", job.scriptPath()}));

    struct stat st;
    ASSERT_EQ(stat(job.stagingDir().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, geteuid());
}

TEST_F(UpdateJobTest, SecondCommandOverwritesTheScript)
{
    runner->outputs["dpkg-deb"] = "kestrova\n";
    ASSERT_TRUE(job.run(package("a.deb", "first")));
    ASSERT_TRUE(job.run(package("b.deb", "second")));
    EXPECT_EQ(FakeRunner::read(job.stagedPackagePath()), "second");
    EXPECT_EQ(FakeRunner::read(job.scriptPath()), UpdateJob::scriptText(job.stagedPackagePath()));
    EXPECT_EQ(runner->spawned.size(), 2u);
}

TEST_F(UpdateJobTest, RefusesForeignBrokenAndOddFiles)
{
    runner->outputs["dpkg-deb"] = "kestrova-evil\n";
    EXPECT_FALSE(job.run(package()));
    EXPECT_NE(access(job.stagedPackagePath().c_str(), F_OK), 0) << "refused package left behind";

    runner->outputs["dpkg-deb"] = "kestrova\n";
    runner->failures["dpkg-deb"] = 2;
    EXPECT_FALSE(job.run(package()));
    runner->failures.clear();

    const std::string real = package();
    const std::string link = downloads / "link.deb";
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    EXPECT_FALSE(job.run(link));
    EXPECT_FALSE(job.run(downloads.path()));
    EXPECT_FALSE(job.run(downloads / "missing.deb"));
    const std::string fifo = downloads / "fifo.deb";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(job.run(fifo));
    EXPECT_FALSE(job.run("relative/update.deb"));

    EXPECT_TRUE(runner->spawned.empty());
    EXPECT_NE(access(job.scriptPath().c_str(), F_OK), 0);
}

TEST_F(UpdateJobTest, RefusesAStagingFolderThatIsALink)
{
    runner->outputs["dpkg-deb"] = "kestrova\n";
    ASSERT_EQ(symlink(downloads.path().c_str(), job.stagingDir().c_str()), 0);
    EXPECT_FALSE(job.run(package()));
    EXPECT_TRUE(runner->spawned.empty());
}

TEST_F(UpdateJobTest, OnlyTheCallersOwnPackageReachedWithoutLinks)
{
    runner->outputs["dpkg-deb"] = "kestrova\n";
    const std::string own = package();
    // Someone else's file, such as a package another user left in /tmp.
    EXPECT_FALSE(job.run(own, getuid() + 1));
    EXPECT_TRUE(runner->spawned.empty());

    // A link on the way to the file, not only at its end.
    mkdir((downloads / "real").c_str(), 0755);
    package("real/update.deb");
    ASSERT_EQ(symlink((downloads / "real").c_str(), (downloads / "via").c_str()), 0);
    EXPECT_FALSE(job.run(downloads / "via/update.deb", getuid()));
    EXPECT_TRUE(runner->spawned.empty());

    // A special file is refused without being opened (opening a device as
    // root can act on it); a FIFO stands in for the device.
    const std::string fifo = downloads / "pipe.deb";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, fifo.c_str(), IN_OPEN), 0);
    EXPECT_FALSE(job.run(fifo, getuid()));
    char events[4096];
    EXPECT_LT(read(watch, events, sizeof(events)), 0) << "the FIFO was opened";
    close(watch);

    EXPECT_TRUE(job.run(own, getuid()));
    EXPECT_EQ(runner->spawned.size(), 1u);
}
