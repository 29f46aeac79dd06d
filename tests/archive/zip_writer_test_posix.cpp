// Zip files as another reader sees them: python3's zipfile lists the members, checks their
// CRCs and extracts them, and the bytes must come back as they went in.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "archive/zip_writer.h"
#include "support/temp_folder.h"

namespace quillon::archive {
namespace {

constexpr platform::DateTime kMay17{2024, 5, 17, 13, 45, 7};

// One line per member, "name|method|utf8 flag|date time|size", after "crc ok" when every
// member's CRC matches; the members are extracted into `into`.
constexpr char kReader[] = R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    if z.testzip() is None:
        print("crc ok")
    for i in z.infolist():
        print(i.filename, i.compress_type, i.flag_bits & 0x800,
              "%04d-%02d-%02d %02d:%02d:%02d" % i.date_time, i.file_size, sep="|")
    z.extractall(sys.argv[2])
)";

class ZipWriterTest : public ::testing::Test {
 protected:
  // Writes the zip and returns what the reader said of it.
  std::string ReadBack(const std::string& zip) {
    folder_.Write("reader.py", kReader);
    folder_.Write("test.zip", zip);
    const std::string command = "python3 '" + (folder_.Path() / "reader.py").string() + "' '" +
                                (folder_.Path() / "test.zip").string() + "' '" +
                                (folder_.Path() / "out").string() + "' 2>&1";
    std::string said;
    if (std::FILE* reader = popen(command.c_str(), "r")) {
      char buffer[4096];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, reader)) > 0;) {
        said.append(buffer, n);
      }
      EXPECT_EQ(pclose(reader), 0) << said;
    }
    return said;
  }
  std::string Extracted(const std::string& name) const { return folder_.Read("out/" + name); }

  test::TempFolder folder_;
};

TEST_F(ZipWriterTest, EveryKindOfMemberComesBackByteForByte) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
  std::mt19937 random(7);
  std::string noise;
  for (int i = 0; i < 65536; ++i) noise += static_cast<char>(random() & 0xFF);
  std::string printers;
  for (int i = 0; i < 10; ++i) printers += "Cocina: lista\n";
  std::string log;
  for (int i = 0; i < 20000; ++i) log += "2024-05-17 13:45:07 Conectado al servidor\n";
  const std::vector<std::pair<std::string, std::string>> members = {
      {"impresoras.txt", printers},         {"vacío.txt", ""},
      {"tickets/binario.ticket", binary},   {"ruido.bin", noise},
      {"registro/año-2024-05-17.log", log},
  };
  ZipWriter writer;
  for (const auto& [name, bytes] : members) writer.Add(name, bytes, kMay17);
  const std::string zip = writer.Finish();

  EXPECT_EQ(ReadBack(zip),
            "crc ok\n"
            "impresoras.txt|8|2048|2024-05-17 13:45:06|140\n"
            "vacío.txt|0|2048|2024-05-17 13:45:06|0\n"
            "tickets/binario.ticket|0|2048|2024-05-17 13:45:06|256\n"
            "ruido.bin|0|2048|2024-05-17 13:45:06|65536\n"
            "registro/año-2024-05-17.log|8|2048|2024-05-17 13:45:06|840000\n");
  for (const auto& [name, bytes] : members) EXPECT_EQ(Extracted(name), bytes) << name;
  // Deflated where it pays: the repeated log shrinks, the noise is not made any larger.
  EXPECT_LT(zip.size(), noise.size() + log.size() / 50);
}

TEST_F(ZipWriterTest, TimesTheDosFormCannotHoldTakeItsNearestEnd) {
  ZipWriter writer;
  writer.Add("antes.txt", "a", {1975, 3, 1, 10, 0, 0});
  writer.Add("despues.txt", "b", {2150, 1, 1, 0, 0, 0});
  writer.Add("medianoche.txt", "c", {2099, 12, 31, 23, 59, 59});
  EXPECT_EQ(ReadBack(writer.Finish()),
            "crc ok\n"
            "antes.txt|0|2048|1980-01-01 00:00:00|1\n"
            "despues.txt|0|2048|2107-12-31 23:59:58|1\n"
            "medianoche.txt|0|2048|2099-12-31 23:59:58|1\n");
}

TEST_F(ZipWriterTest, AZipWithoutMembersIsStillAZip) {
  ZipWriter writer;
  EXPECT_EQ(ReadBack(writer.Finish()), "crc ok\n");
}

}  // namespace
}  // namespace quillon::archive
