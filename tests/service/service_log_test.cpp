#include "service/service_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/test_folder.h"
#include "service/command_line.h"

namespace veltrano {
namespace {

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

TEST(CtimeText, PadsTheDayWithABlankAsCtimeDoes) {
  testing::FakeClock clock;
  clock.Set(2026, 12, 8, 15, 0, 3);
  EXPECT_EQ(CtimeText(clock.Now()), "Tue Dec  8 15:00:03 2026");
  clock.Set(2027, 1, 31, 9, 5, 0);
  EXPECT_EQ(CtimeText(clock.Now()), "Sun Jan 31 09:05:00 2027");
}

TEST(ServiceLog, StampsAndFlushesEveryLineAndAppendsToWhatIsThere) {
  testing::TestFolder folder;
  testing::FakeClock clock;
  clock.Set(2026, 12, 8, 15, 0, 3);
  folder.WriteAll("pellacorservice.log", "earlier\n");
  ServiceLog log(clock);
  ASSERT_TRUE(log.Open(folder.Path("pellacorservice.log")));
  log.Write("%s start up...", kServiceDisplayName);
  // Flushed: readable before the log is closed.
  EXPECT_EQ(WithoutCarriageReturns(folder.ReadAll("pellacorservice.log")),
            "earlier\n[Tue Dec  8 15:00:03 2026]: Veltrano Service start up...\n");
  clock.Advance(2);
  log.Write("%s stopped.\n", kServiceDisplayName);
  log.Write("%s", std::string(2000, 'x').c_str());
  log.Close();
  const std::string text = WithoutCarriageReturns(folder.ReadAll("pellacorservice.log"));
  EXPECT_NE(text.find("[Tue Dec  8 15:00:05 2026]: Veltrano Service stopped.\n\n"), std::string::npos);
  EXPECT_NE(text.find(": " + std::string(1023, 'x') + "\n"), std::string::npos);
  EXPECT_EQ(text.find(std::string(1024, 'x')), std::string::npos);
}

TEST(ServiceLog, DropsLinesWhenTheFileCannotBeOpened) {
  testing::TestFolder folder;
  testing::FakeClock clock;
  ServiceLog log(clock);
  EXPECT_FALSE(log.Open(folder.Path("missing") + "/" + "pellacorservice.log"));
  log.Write("nowhere to go");
}

// Mail sessions report from their own threads, also while the host closes the log at exit.
TEST(ServiceLog, TakesLinesFromManyThreadsWhileItIsClosedUnderThem) {
  testing::TestFolder folder;
  testing::FakeClock clock;
  clock.Set(2026, 12, 8, 15, 0, 3);
  ServiceLog log(clock);
  for (int round = 0; round < 20; ++round) {
    ASSERT_TRUE(log.Open(folder.Path("pellacorservice.log")));
    std::atomic<int> written{0};
    std::vector<std::thread> writers;
    for (int writer = 0; writer < 4; ++writer)
      writers.emplace_back([&log, &written, writer] {
        for (int line = 0; line < 200; ++line, ++written) log.Write("writer %d line %d", writer, line);
      });
    while (written < 100) std::this_thread::yield();
    log.Close();  // while the writers are in full flow
    for (auto& writer : writers) writer.join();
  }
  log.Write("after the end");
  std::istringstream lines(WithoutCarriageReturns(folder.ReadAll("pellacorservice.log")));
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count)
    EXPECT_EQ(line.rfind("[Tue Dec  8 15:00:03 2026]: writer ", 0), 0u) << line;
  EXPECT_GT(count, 0);
}

TEST(ServiceCommandLine, TakesOnlyASlashCommandInAnyCaseAlone) {
  EXPECT_EQ(ParseServiceCommand({}), ServiceCommand::kRunService);
  EXPECT_EQ(ParseServiceCommand({"/INSTALL"}), ServiceCommand::kInstall);
  EXPECT_EQ(ParseServiceCommand({"/Uninstall"}), ServiceCommand::kUninstall);
  EXPECT_EQ(ParseServiceCommand({"install"}), ServiceCommand::kInvalid);
  EXPECT_EQ(ParseServiceCommand({"-install"}), ServiceCommand::kInvalid);
  EXPECT_EQ(ParseServiceCommand({"/install", "/install"}), ServiceCommand::kInvalid);
  EXPECT_EQ(ParseServiceCommand({"/installer"}), ServiceCommand::kInvalid);
}

}  // namespace
}  // namespace veltrano
