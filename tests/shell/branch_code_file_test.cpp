#include "shell/branch_code_file.h"

#include <gtest/gtest.h>

#include "platform/disk_file_system.h"
#include "support/fake_dialogs.h"
#include "support/fake_file_system.h"
#include "support/temp_folder.h"

namespace quillon::shell {
namespace {

using test::FakeDialogs;
using test::TempFolder;
using Lines = std::vector<std::u16string>;

TEST(ReadLines, AddsOneEmptyElementAfterTheLastLine) {
  TempFolder folder;
  const platform::DiskFileSystem disk;
  folder.Write("a", "A\r\nB\r\n");
  EXPECT_EQ(ReadLines(disk, folder.Path() / "a"), (Lines{u"A", u"B", u""}));
  folder.Write("b", "A\r\nB");
  EXPECT_EQ(ReadLines(disk, folder.Path() / "b"), (Lines{u"A", u"B", u""}));
  folder.Write("c", "");
  EXPECT_EQ(ReadLines(disk, folder.Path() / "c"), (Lines{u""}));
  folder.Write("d", "\r\n\r\nx");
  EXPECT_EQ(ReadLines(disk, folder.Path() / "d"), (Lines{u"", u"", u"x", u""}));
}

TEST(ReadLines, MissingOrUnreadableFileGivesOneEmptyElement) {
  TempFolder folder;
  const platform::DiskFileSystem disk;
  EXPECT_EQ(ReadLines(disk, folder.Path() / "nada"), (Lines{u""}));
  EXPECT_EQ(ReadLines(disk, folder.Path()), (Lines{u""}));  // a folder cannot be read as a file
}

TEST(ReadLines, ReadsWindows1252AndEveryLineEnd) {
  TempFolder folder;
  const platform::DiskFileSystem disk;
  folder.Write("a",
               "Pe\xF1"
               "a\nCaf\xE9\rFin");
  EXPECT_EQ(ReadLines(disk, folder.Path() / "a"), (Lines{u"Peña", u"Café", u"Fin", u""}));
}

TEST(FileExists, FindsFilesAndFoldersWithOrWithoutTrailingSeparator) {
  TempFolder folder;
  folder.Write("logo.bmp", "x");
  EXPECT_TRUE(FileExists(folder.Path() / "logo.bmp"));
  EXPECT_TRUE(FileExists(folder.Path().string() + "/"));
  EXPECT_FALSE(FileExists(folder.Path() / "otro.bmp"));
  EXPECT_TRUE(FileExists("/"));
}

TEST(CodeValidity, StartUpOnlyCountsCharacters) {
  EXPECT_TRUE(IsValidStartCode(u"ABCDEFGHIJKLMNO"));
  EXPECT_FALSE(IsValidStartCode(u"ABCDEFGHIJKLMN"));
  EXPECT_TRUE(IsValidStartCode(u"12345678901234567890"));
}

TEST(CodeValidity, ReplacementNeedsANumberFromTheSecondCharacter) {
  EXPECT_TRUE(IsValidNewCode(u"S12345678901234"));
  EXPECT_TRUE(IsValidNewCode(u"123456789012345"));
  EXPECT_TRUE(IsValidNewCode(u"1234567890123456789"));
  EXPECT_FALSE(IsValidNewCode(u"S1234567890123"));   // 14 characters
  EXPECT_FALSE(IsValidNewCode(u"1234567X9012345"));  // a letter after the first
  EXPECT_FALSE(IsValidNewCode(u"12345678901234A"));
  EXPECT_FALSE(IsValidNewCode(u"1123456789E1234"));  // no exponent forms
  EXPECT_FALSE(IsValidNewCode(u"ABCDEFGHIJKLMNO"));
}

class BranchCodeFileTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  platform::DiskFileSystem disk_;
  FakeDialogs dialogs_;
  BranchCodeFile acceso_{disk_, folder_.Path(), dialogs_};
};

TEST_F(BranchCodeFileTest, StoredCodeOfFifteenCharactersNeedsNoPrompt) {
  folder_.Write("Acceso", "ABCDEFGHIJKLMNO\r\nMesa,Domicilio\r\n");
  EXPECT_EQ(acceso_.ReadBranchCode(), (Lines{u"ABCDEFGHIJKLMNO", u"Mesa,Domicilio", u""}));
  EXPECT_TRUE(dialogs_.prompts.empty());
  EXPECT_EQ(folder_.Read("Acceso"), "ABCDEFGHIJKLMNO\r\nMesa,Domicilio\r\n");
}

TEST_F(BranchCodeFileTest, ShortCodePromptsUntilFifteenCharactersAndDropsTheOptions) {
  folder_.Write("Acceso", "12345678901234\r\nMesa\r\n");
  dialogs_.answers = {u"", u"corto", u"ABCDEFGHIJKLMNOP"};
  EXPECT_EQ(acceso_.ReadBranchCode(), (Lines{u"ABCDEFGHIJKLMNOP", u""}));
  ASSERT_EQ(dialogs_.prompts.size(), 3u);
  for (const auto& prompt : dialogs_.prompts) {
    EXPECT_EQ(prompt.title, u"Codigo de sucursal");
    EXPECT_EQ(prompt.prompt,
              u"No tiene registrado un codigo para esta sucursal, registrelo en el siguiente "
              u"campo.\r\nEl codigo de sucursal tiene 15 digitos");
    EXPECT_EQ(prompt.default_text, u"");
  }
  EXPECT_EQ(folder_.Read("Acceso"), "ABCDEFGHIJKLMNOP\r\n");
  EXPECT_EQ(acceso_.ReadOptionsLine(), u"");
}

TEST_F(BranchCodeFileTest, MissingFileIsCreatedWithTheTypedCodeInWindows1252) {
  dialogs_.answers = {u"SUCURSAL-PEÑA-01"};
  EXPECT_EQ(acceso_.ReadBranchCode()[0], u"SUCURSAL-PEÑA-01");
  EXPECT_EQ(folder_.Read("Acceso"),
            "SUCURSAL-PE\xD1"
            "A-01\r\n");
}

TEST_F(BranchCodeFileTest, UnwritableFolderStillUsesTheTypedCodeAndSaysSo) {
  BranchCodeFile missing_folder(disk_, folder_.Path() / "no-existe", dialogs_);
  dialogs_.answers = {u"123456789012345"};
  EXPECT_EQ(missing_folder.ReadBranchCode()[0], u"123456789012345");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::kError);
}

TEST_F(BranchCodeFileTest, SecondLineIsReadAgainFromTheFile) {
  folder_.Write("Acceso", "ABCDEFGHIJKLMNO\r\ntecnica\r\n");
  EXPECT_EQ(acceso_.ReadOptionsLine(), u"tecnica");
  folder_.Write("Acceso", "ABCDEFGHIJKLMNO");
  EXPECT_EQ(acceso_.ReadOptionsLine(), u"");
  std::filesystem::remove(folder_.Path() / "Acceso");
  EXPECT_EQ(acceso_.ReadOptionsLine(), u"");
}

TEST_F(BranchCodeFileTest, OptionsAreStoredAsTheSecondLine) {
  acceso_.SaveOptions(u"ABCDEFGHIJKLMNO", u"Facturas y PreFactruas,Mesa");
  EXPECT_EQ(folder_.Read("Acceso"), "ABCDEFGHIJKLMNO\r\nFacturas y PreFactruas,Mesa\r\n");
}

TEST_F(BranchCodeFileTest, UtfEightMarkIsNoPartOfTheCodeButBlanksAre) {
  folder_.Write("Acceso",
                "\xEF\xBB\xBF"
                "SUCURSAL-PE\xC3\x91"
                "A-01\r\nMesa\r\n");
  EXPECT_EQ(acceso_.ReadBranchCode(), (Lines{u"SUCURSAL-PEÑA-01", u"Mesa", u""}));
  EXPECT_TRUE(dialogs_.prompts.empty());
  // Only a mark at the very start counts; blanks around the code stay, as the file has them.
  folder_.Write("Acceso", " ABCDEFGHIJKLMNO \r\n\xEF\xBB\xBFMesa\r\n");
  EXPECT_EQ(acceso_.ReadBranchCode(),
            (Lines{u" ABCDEFGHIJKLMNO ", u"\u00EF\u00BB\u00BFMesa", u""}));
  // The next write stores the lines in Windows-1252, without the mark.
  folder_.Write("Acceso",
                "\xEF\xBB\xBF"
                "ABCDEFGHIJKLMN\xC3\x91\r\n");
  acceso_.SaveOptions(acceso_.ReadBranchCode()[0], u"Mesa");
  EXPECT_EQ(folder_.Read("Acceso"), "ABCDEFGHIJKLMN\xD1\r\nMesa\r\n");
}

TEST_F(BranchCodeFileTest, ReplacementAcceptedAtOnceIsStoredAlone) {
  folder_.Write("Acceso", "ABCDEFGHIJKLMNO\r\nMesa\r\n");
  dialogs_.answers = {u"S12345678901234"};
  EXPECT_EQ(acceso_.PromptNewCode(), u"S12345678901234");
  ASSERT_EQ(dialogs_.prompts.size(), 1u);
  EXPECT_EQ(dialogs_.prompts[0].title, u"Sistema de impresion");
  EXPECT_EQ(dialogs_.prompts[0].prompt,
            u"Escribe codigo de la sucursal y presiona Aceptar para iniciar");
  EXPECT_EQ(folder_.Read("Acceso"), "S12345678901234\r\n");
}

TEST_F(BranchCodeFileTest, InvalidReplacementAsksAgainWithTheMissingCodePrompt) {
  dialogs_.answers = {u"1234567X9012345", u"", u"ABCDEFGHIJKLMNO", u"912345678901234"};
  EXPECT_EQ(acceso_.PromptNewCode(), u"912345678901234");
  ASSERT_EQ(dialogs_.prompts.size(), 4u);
  EXPECT_EQ(dialogs_.prompts[1].title, u"Codigo de sucursal");
  EXPECT_EQ(dialogs_.prompts[3].title, u"Codigo de sucursal");
  EXPECT_EQ(folder_.Read("Acceso"), "912345678901234\r\n");
}

TEST(BranchCodeFileOnAFailingDisk, ARefusedWriteKeepsTheOldCodeAndOptionsAndSaysSo) {
  test::FakeFileSystem files;
  const std::string stored = "S12345678901234\r\nMesa\r\n";
  files.Put("/datos/Acceso", stored);
  files.Refuse(test::FileCall::kWrite, "/datos/Acceso");
  FakeDialogs dialogs;
  BranchCodeFile acceso(files, "/datos", dialogs);

  dialogs.answers = {u"912345678901234"};
  EXPECT_EQ(acceso.PromptNewCode(), u"912345678901234");
  acceso.SaveOptions(u"912345678901234", u"Domicilio");
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::kError);
  EXPECT_EQ(files.ReadFile("/datos/Acceso"), stored);
  EXPECT_EQ(files.Names("/datos"), std::vector<std::string>{"Acceso"});
  EXPECT_EQ(acceso.ReadBranchCode(), (Lines{u"S12345678901234", u"Mesa", u""}));
}

}  // namespace
}  // namespace quillon::shell
