#include "support/tempdir.h"
#include "timezoneworker.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Recorder
{
    std::vector<std::vector<std::string>> calls;
    TimezoneWorker::CommandRunner runner()
    {
        return [this](const std::vector<std::string>& argv) {
            calls.push_back(argv);
            return 0;
        };
    }
    std::string lastZone() const { return calls.empty() ? "" : calls.back().back(); }
};

class TimezoneWorkerTest : public ::testing::Test
{
protected:
    TimezonePaths paths()
    {
        TimezonePaths p;
        p.timezoneFile = dir.path + "/timezone";
        p.clockFile = dir.path + "/clock";
        p.timezoneConfFile = dir.path + "/TIMEZONE";
        p.zoneinfoDir = dir.path + "/zoneinfo";
        p.changedFile = dir.path + "/changed";
        mkdir(p.zoneinfoDir.c_str(), 0755);
        mkdir((p.zoneinfoDir + "/Europe").c_str(), 0755);
        mkdir((p.zoneinfoDir + "/Asia").c_str(), 0755);
        dir.file("zoneinfo/Europe/Berlin", "TZif2");
        dir.file("zoneinfo/Asia/Tokyo", "TZif2");
        return p;
    }
    TempDir dir;
    Recorder recorder;
};

} // namespace

TEST_F(TimezoneWorkerTest, DefaultZoneFromTheLastUsefulLineOfEtcTimezone)
{
    dir.file("timezone", "# comment\nEtc/UTC\n");
    TimezoneWorker worker(paths(), recorder.runner());
    EXPECT_TRUE(worker.isSupported());
    EXPECT_EQ(worker.defaultZone(), "Etc/UTC");

    dir.file("timezone", "Europe/Berlin\n\n  Asia/Tokyo extra words\n#Etc/UTC\n");
    TimezoneWorker second(paths(), recorder.runner());
    EXPECT_EQ(second.defaultZone(), "Asia/Tokyo");
}

TEST_F(TimezoneWorkerTest, EmptyEtcTimezoneMeansUnsupportedEvenWithOtherFiles)
{
    dir.file("timezone", "");
    dir.file("clock", "ZONE=Europe/Berlin\n");
    TimezoneWorker worker(paths(), recorder.runner());
    EXPECT_FALSE(worker.isSupported());
    EXPECT_FALSE(worker.changeToIP("Europe/Berlin"));
    EXPECT_FALSE(worker.restoreToDefault());
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(TimezoneWorkerTest, FallsBackToClockThenTimezoneConf)
{
    dir.file("clock", "#ZONE=x\n ZONE=Wrong/Zone\nZONE=\"America/New_York\"\n");
    TimezoneWorker fromClock(paths(), recorder.runner());
    EXPECT_EQ(fromClock.defaultZone(), "America/New_York");

    std::remove((dir.path + "/clock").c_str());
    dir.file("TIMEZONE", "TZ=Asia/Tokyo\n");
    TimezoneWorker fromConf(paths(), recorder.runner());
    EXPECT_EQ(fromConf.defaultZone(), "Asia/Tokyo");

    std::remove((dir.path + "/TIMEZONE").c_str());
    TimezoneWorker none(paths(), recorder.runner());
    EXPECT_FALSE(none.isSupported());
}

TEST_F(TimezoneWorkerTest, ChangesRunTimedatectlWithoutAShellAndRestoreOnce)
{
    dir.file("timezone", "Etc/UTC\n");
    TimezoneWorker worker(paths(), recorder.runner());
    EXPECT_FALSE(worker.restoreToDefault()) << "nothing changed yet";
    EXPECT_TRUE(recorder.calls.empty());

    EXPECT_TRUE(worker.changeToIP("Europe/Berlin"));
    EXPECT_TRUE(worker.changeToIP("Asia/Tokyo"));
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].size(), 3u);
    EXPECT_EQ(recorder.calls[0][1], "set-timezone");
    EXPECT_EQ(recorder.calls[0][2], "Europe/Berlin");

    EXPECT_TRUE(worker.restoreToDefault());
    EXPECT_EQ(recorder.lastZone(), "Etc/UTC");
    EXPECT_FALSE(worker.restoreToDefault());
    EXPECT_EQ(recorder.calls.size(), 3u);
}

TEST_F(TimezoneWorkerTest, RefusedNamesRunNothingButKeepTheSupportedReply)
{
    dir.file("timezone", "Etc/UTC\n");
    TimezoneWorker worker(paths(), recorder.runner());
    for (const char* bad : {"$(id)", "../../../etc/passwd", "Europe/Nowhere", "Europe/Berlin\" ; reboot"}) {
        EXPECT_TRUE(worker.changeToIP(bad)) << bad;
    }
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_FALSE(worker.isChanged());
}

TEST_F(TimezoneWorkerTest, LinksMayAliasInsideTheZoneFolderButNeverLeaveIt)
{
    dir.file("timezone", "Etc/UTC\n");
    const TimezonePaths p = paths();
    // Links that leave the folder, even when they lead back into it: setting
    // Debian's "localtime" makes /etc/localtime a link to itself.
    const std::string outside = dir.file("outside", "TZif2");
    ASSERT_EQ(symlink(outside.c_str(), (p.zoneinfoDir + "/Outside").c_str()), 0);
    // Debian's shape: out to /etc/localtime, which leads back into the folder.
    const std::string etcLocaltime = dir.path + "/etc-localtime";
    ASSERT_EQ(symlink((p.zoneinfoDir + "/Europe/Berlin").c_str(), etcLocaltime.c_str()), 0);
    ASSERT_EQ(symlink(etcLocaltime.c_str(), (p.zoneinfoDir + "/localtime").c_str()), 0);
    ASSERT_EQ(symlink("../outside", (p.zoneinfoDir + "/Europe/Away").c_str()), 0);
    ASSERT_EQ(symlink("../Asia/Tokyo", (p.zoneinfoDir + "/Europe/Alias").c_str()), 0);
    ASSERT_EQ(symlink("Europe", (p.zoneinfoDir + "/Continent").c_str()), 0);
    TimezoneWorker worker(p, recorder.runner());

    EXPECT_TRUE(worker.changeToIP("localtime"));
    EXPECT_TRUE(worker.changeToIP("Outside"));
    EXPECT_TRUE(worker.changeToIP("Europe/Away"));
    EXPECT_TRUE(recorder.calls.empty());

    worker.changeToIP("Europe/Alias");
    worker.changeToIP("Continent/Berlin");
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].back(), "Europe/Alias");
    EXPECT_EQ(recorder.lastZone(), "Continent/Berlin");
}

TEST_F(TimezoneWorkerTest, DestructorPutsTheDefaultBack)
{
    dir.file("timezone", "Etc/UTC\n");
    {
        TimezoneWorker worker(paths(), recorder.runner());
        worker.changeToIP("Europe/Berlin");
    }
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.lastZone(), "Etc/UTC");
}

// A worker killed while the zone is the client's: the worker that replaces
// it starts from the monitor's memory, and the daemon started after a dead
// one reads /etc/timezone as the client left it. Either still puts back the
// zone from before the change, once.
TEST_F(TimezoneWorkerTest, AChangeByAKilledWorkerGoesBackFromTheNextOne)
{
    dir.file("timezone", "Europe/Berlin\n");
    TimezoneWorker killed(paths(), recorder.runner());
    ASSERT_TRUE(killed.changeToIP("Asia/Tokyo"));
    dir.file("timezone", "Asia/Tokyo\n");

    TimezoneWorker next(paths(), recorder.runner());
    next.resume();
    EXPECT_TRUE(next.isChanged());
    EXPECT_TRUE(next.restoreToDefault());
    EXPECT_EQ(recorder.lastZone(), "Europe/Berlin");

    TimezoneWorker later(paths(), recorder.runner());
    later.resume();
    EXPECT_FALSE(later.restoreToDefault());
    EXPECT_EQ(recorder.calls.size(), 2u);
}
