// The reading of /proc that the tests of what is left running depend on.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "support/Processes.h"

namespace {

pid_t StartSleeper() {
    const pid_t pid = fork();
    if (pid == 0) {
        pause();
        _exit(0);
    }
    return pid;
}

// Regression: a stream read of the file threw "basic_filebuf::underflow" when the process
// ended between the open and the read.
TEST(ProcStat, AProcessThatEndsBetweenOpenAndReadIsGone) {
    const pid_t pid = StartSleeper();
    ASSERT_GT(pid, 0);
    const int fd = open(("/proc/" + std::to_string(pid) + "/stat").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::string text;
    EXPECT_FALSE(testproc::ReadProcFile(fd, text));
    close(fd);
    EXPECT_FALSE(testproc::Running(pid));
}

TEST(ProcStat, TellsRunningFromZombieAndGone) {
    EXPECT_TRUE(testproc::Running(getpid()));
    const pid_t pid = StartSleeper();
    ASSERT_GT(pid, 0);
    char state = 0;
    pid_t parent = 0;
    ASSERT_TRUE(testproc::ReadStat(pid, state, parent));
    EXPECT_EQ(parent, getpid());
    EXPECT_TRUE(testproc::Running(pid));
    kill(pid, SIGKILL);
    // Dead but not reaped.
    siginfo_t info{};
    waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
    EXPECT_FALSE(testproc::Running(pid));
    EXPECT_TRUE(testproc::ReadStat(pid, state, parent));
    EXPECT_EQ(state, 'Z');
    waitpid(pid, nullptr, 0);
    EXPECT_FALSE(testproc::ReadStat(pid, state, parent));
}

TEST(ProcStat, ReadsTheFieldsAfterANameWithSpacesAndParentheses) {
    char state = 0;
    pid_t parent = 0;
    ASSERT_TRUE(testproc::ParseStat("42 (a) b (c)) S 7 42 42 0 -1\n", state, parent));
    EXPECT_EQ(state, 'S');
    EXPECT_EQ(parent, 7);
    EXPECT_FALSE(testproc::ParseStat("", state, parent));
    EXPECT_FALSE(testproc::ParseStat("42 (cut", state, parent));
}

}  // namespace
