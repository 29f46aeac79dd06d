#include "shell/rejected_jobs_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/disk_file_system.h"
#include "support/fake_clock.h"
#include "support/fake_file_system.h"
#include "support/temp_folder.h"

namespace quillon::shell {
namespace {

std::set<std::string> Names(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(RejectedJobsFolder, KeepsTheBytesAsReceivedUnderNumberedNames) {
  test::TempFolder data;
  platform::DiskFileSystem disk;
  test::FakeClock clock({2024, 5, 17, 13, 45, 7});
  RejectedJobsFolder folder(disk, data.Path() / "rechazados", clock);
  // Windows-1252 bytes, a NUL and the terminator's look-alike: nothing is changed.
  const std::string bytes(
      "{\"producto\":\"Pi\xF1"
      "a\x00\x1B\"}\r\n_ENDMESSAGE_",
      30);
  const auto first = folder.Keep(bytes, u"comanda");
  const auto second = folder.Keep("{", u"trabajo");
  EXPECT_EQ(first.error, u"");
  EXPECT_EQ(std::filesystem::path(first.file).filename(), "000001-20240517-134507-comanda.json");
  EXPECT_EQ(data.Read("rechazados/000001-20240517-134507-comanda.json"), bytes);
  EXPECT_EQ(std::filesystem::path(second.file).filename(), "000002-20240517-134507-trabajo.json");
  // Written whole: no temporary file is left behind.
  EXPECT_EQ(Names(data.Path() / "rechazados"),
            (std::set<std::string>{"000001-20240517-134507-comanda.json",
                                   "000002-20240517-134507-trabajo.json"}));

  // After a restart the numbers go on, past a file put there by hand under the next number;
  // a temporary file left by a write cut short goes.
  data.Write("rechazados/000003-mio.json", "de otro");
  data.Write("rechazados/000004-20240517-134507-factura.json.tmp", "{\"a\"");
  RejectedJobsFolder again(disk, data.Path() / "rechazados", clock);
  EXPECT_EQ(std::filesystem::path(again.Keep("x", u"factura").file).filename(),
            "000004-20240517-134507-factura.json");
  EXPECT_EQ(data.Read("rechazados/000003-mio.json"), "de otro");
  EXPECT_EQ(data.Read("rechazados/000004-20240517-134507-factura.json"), "x");
  EXPECT_EQ(Names(data.Path() / "rechazados").size(), 4u);
}

TEST(RejectedJobsFolder, OnlyTheNewestAreKept) {
  test::TempFolder data;
  platform::DiskFileSystem disk;
  test::FakeClock clock;
  const std::filesystem::path path = data.Path() / "rechazados";
  std::filesystem::create_directories(path);
  data.Write("rechazados/LEAME.txt", "no es un trabajo");
  {
    RejectedJobsFolder folder(disk, path, clock);
    for (std::size_t i = 0; i < RejectedJobsFolder::kKept; ++i) folder.Keep("a", u"cajon");
  }
  RejectedJobsFolder folder(disk, path, clock);  // the oldest are known after a restart too
  for (int i = 0; i < 3; ++i) folder.Keep("b", u"cajon");
  const std::set<std::string> names = Names(path);
  EXPECT_EQ(names.size(), RejectedJobsFolder::kKept + 1);
  EXPECT_EQ(names.count("LEAME.txt"), 1u);
  EXPECT_EQ(names.count("000003-20240517-134507-cajon.json"), 0u);
  EXPECT_EQ(names.count("000004-20240517-134507-cajon.json"), 1u);
  EXPECT_EQ(names.count("000503-20240517-134507-cajon.json"), 1u);
}

TEST(RejectedJobsFolder, BigJobsAreKeptWithinTheBytesBoundNewestFirst) {
  test::TempFolder data;
  platform::DiskFileSystem disk;
  test::FakeClock clock;
  const std::filesystem::path path = data.Path() / "rechazados";
  const std::string big(RejectedJobsFolder::kKeptBytes / 3, 'x');
  {
    RejectedJobsFolder folder(disk, path, clock);
    for (int i = 0; i < 3; ++i) folder.Keep(big, u"comanda");
  }
  RejectedJobsFolder folder(disk, path, clock);  // the sizes are known after a restart too
  folder.Keep(big, u"factura");
  EXPECT_EQ(Names(path), (std::set<std::string>{"000002-20240517-134507-comanda.json",
                                                "000003-20240517-134507-comanda.json",
                                                "000004-20240517-134507-factura.json"}));
  // One job over the whole bound is still kept, alone.
  folder.Keep(std::string(RejectedJobsFolder::kKeptBytes + 1, 'y'), u"factura");
  EXPECT_EQ(Names(path), (std::set<std::string>{"000005-20240517-134507-factura.json"}));
}

TEST(RejectedJobsFolder, AFolderThatCannotBeMadeSaysWhy) {
  test::TempFolder data;
  platform::DiskFileSystem disk;
  test::FakeClock clock;
  data.Write("rechazados", "un archivo donde iria la carpeta");
  RejectedJobsFolder folder(disk, data.Path() / "rechazados", clock);
  const auto kept = folder.Keep("x", u"comanda");
  EXPECT_EQ(kept.file, u"");
  EXPECT_NE(kept.error.find(u"rechazados"), std::u16string::npos);
}

TEST(RejectedJobsFolder, AWriteTheDiskRefusesSaysWhereAndLeavesNothing) {
  test::FakeFileSystem files;
  test::FakeClock clock({2024, 5, 17, 13, 45, 7});
  RejectedJobsFolder folder(files, "/datos/rechazados", clock);
  files.Refuse(test::FileCall::kWrite, "/datos/rechazados");
  const auto refused = folder.Keep("{", u"comanda");
  EXPECT_EQ(refused.file, u"");
  EXPECT_NE(refused.error.find(u"000001-20240517-134507-comanda.json: no se pudo escribir"),
            std::u16string::npos);
  EXPECT_EQ(files.Names("/datos/rechazados"), std::vector<std::string>{});
  // The next job is kept once the disk takes it again.
  files.Allow();
  EXPECT_EQ(std::filesystem::path(folder.Keep("[", u"factura").file).filename(),
            "000002-20240517-134507-factura.json");
}

}  // namespace
}  // namespace quillon::shell
