#include "adapters/qt/single_instance.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/temp_folder.h"

namespace quillon::adapters::qt {
namespace {

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

TEST(SingleInstance, OneHolderPerDataFolder) {
  test::TempFolder folder, other;
  auto first = std::make_unique<SingleInstance>(Q(folder.Path()));
  ASSERT_EQ(first->Acquire(), SingleInstance::Result::Acquired);

  SingleInstance second(Q(folder.Path()));
  EXPECT_EQ(second.Acquire(), SingleInstance::Result::HeldByOther);
  SingleInstance elsewhere(Q(other.Path()));
  EXPECT_EQ(elsewhere.Acquire(), SingleInstance::Result::Acquired);

  first.reset();  // the first agent ended
  EXPECT_EQ(second.Acquire(), SingleInstance::Result::Acquired);
}

TEST(SingleInstance, MissingFolderIsReportedApart) {
  test::TempFolder folder;
  SingleInstance instance(Q(folder.Path() / "no-existe"));
  EXPECT_EQ(instance.Acquire(), SingleInstance::Result::Unavailable);
}

}  // namespace
}  // namespace quillon::adapters::qt
