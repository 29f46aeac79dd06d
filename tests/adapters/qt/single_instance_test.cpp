#include "adapters/qt/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "support/temp_folder.h"

namespace quillon::adapters::qt {
namespace {

TEST(SingleInstance, OneHolderPerDataFolder) {
  test::TempFolder folder, other;
  auto first = std::make_unique<SingleInstance>(folder.Path());
  ASSERT_EQ(first->Acquire(), SingleInstance::Result::kAcquired);

  SingleInstance second(folder.Path());
  EXPECT_EQ(second.Acquire(), SingleInstance::Result::kHeldByOther);
  SingleInstance elsewhere(other.Path());
  EXPECT_EQ(elsewhere.Acquire(), SingleInstance::Result::kAcquired);

  first.reset();  // the first agent ended
  EXPECT_EQ(second.Acquire(), SingleInstance::Result::kAcquired);
}

TEST(SingleInstance, MissingFolderIsReportedApart) {
  test::TempFolder folder;
  SingleInstance instance(folder.Path() / "no-existe");
  EXPECT_EQ(instance.Acquire(), SingleInstance::Result::kUnavailable);
}

std::string HostName() {
  char name[256] = {};
  gethostname(name, sizeof name - 1);
  return name;
}

// What a power cut, a crash or a renamed PC leaves in the lock file never keeps the folder.
TEST(SingleInstance, LeftoverLockFileOfAnyContentIsTakenOver) {
  using namespace std::string_literals;
  for (const std::string& leftover :
       {""s, "\x01\xFF basura \x00\x7F"s, "1\nquillon-agent\nOTRO-PC-DE-LA-SUCURSAL\n"s,
        "999999\nquillon-agent\n" + HostName() + "\n"}) {
    test::TempFolder folder;
    folder.Write(".quillon-agent.lock", leftover);
    SingleInstance instance(folder.Path());
    EXPECT_EQ(instance.Acquire(), SingleInstance::Result::kAcquired) << leftover;
    EXPECT_EQ(folder.Read(".quillon-agent.lock"), std::to_string(getpid()) + "\n");
    SingleInstance second(folder.Path());
    EXPECT_EQ(second.Acquire(), SingleInstance::Result::kHeldByOther);
  }
}

}  // namespace
}  // namespace quillon::adapters::qt
