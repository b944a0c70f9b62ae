// The program as a process: a second instance, a machine without a display.
#include "ProgramRun.h"
#include "SingleInstance.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/wt-app-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path); }
};

TEST(SingleInstance, OnlyOneHolderAtATime) {
    TempFolder temp;
    std::string lock = (temp.path / "WavetrapMutex.lock").string();
    {
        wt::app::SingleInstance first(lock);
        ASSERT_TRUE(first.Acquire());
        wt::app::SingleInstance second(lock);
        EXPECT_FALSE(second.Acquire());
        EXPECT_FALSE(second.Held());
    }
    wt::app::SingleInstance later(lock);  // the first has ended
    EXPECT_TRUE(later.Acquire());
}


TEST(SingleInstance, LockFileLivesInTheRuntimeFolder) {
    EXPECT_EQ(wt::app::SingleInstance::LockFilePath("/run/user/4242"), "/run/user/4242/WavetrapMutex.lock");
    EXPECT_EQ(wt::app::SingleInstance::LockFilePath("/run/user/4242/"), "/run/user/4242/WavetrapMutex.lock");
}

TEST(Program, SecondInstanceEndsSilentlyAtOnce) {
    TempFolder temp;
    wt::app::SingleInstance running((temp.path / "WavetrapMutex.lock").string());
    ASSERT_TRUE(running.Acquire());
    auto result = wt::test::RunProgram(WAVETRAP_PROGRAM,
                                       {{"XDG_RUNTIME_DIR", temp.path.string()},
                                        {"HOME", temp.path.string()},
                                        {"QT_QPA_PLATFORM", "offscreen"}},
                                       10000);
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
}

TEST(Program, WithoutADisplayItSaysSoInsteadOfCrashing) {
    TempFolder temp;
    auto result = wt::test::RunProgram(WAVETRAP_PROGRAM,
                                       {{"XDG_RUNTIME_DIR", temp.path.string()}, {"HOME", temp.path.string()}},
                                       10000);
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("no graphical display"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("QT_QPA_PLATFORM=offscreen"), std::string::npos);
}

}  // namespace
