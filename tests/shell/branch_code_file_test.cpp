#include "shell/branch_code_file.h"

#include <gtest/gtest.h>

#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace quillon::shell {
namespace {

using test::FakeDialogs;
using test::TempFolder;
using Lines = std::vector<std::u16string>;

TEST(LeerLineas, AddsOneEmptyElementAfterTheLastLine) {
  TempFolder folder;
  folder.Write("a", "A\r\nB\r\n");
  EXPECT_EQ(ReadLines(folder.Path() / "a"), (Lines{u"A", u"B", u""}));
  folder.Write("b", "A\r\nB");
  EXPECT_EQ(ReadLines(folder.Path() / "b"), (Lines{u"A", u"B", u""}));
  folder.Write("c", "");
  EXPECT_EQ(ReadLines(folder.Path() / "c"), (Lines{u""}));
  folder.Write("d", "\r\n\r\nx");
  EXPECT_EQ(ReadLines(folder.Path() / "d"), (Lines{u"", u"", u"x", u""}));
}

TEST(LeerLineas, MissingOrUnreadableFileGivesOneEmptyElement) {
  TempFolder folder;
  EXPECT_EQ(ReadLines(folder.Path() / "nada"), (Lines{u""}));
  EXPECT_EQ(ReadLines(folder.Path()), (Lines{u""}));  // a folder cannot be read as a file
}

TEST(LeerLineas, ReadsWindows1252AndEveryLineEnd) {
  TempFolder folder;
  folder.Write("a",
               "Pe\xF1"
               "a\nCaf\xE9\rFin");
  EXPECT_EQ(ReadLines(folder.Path() / "a"), (Lines{u"Peña", u"Café", u"Fin", u""}));
}

TEST(ExisteArchivo, FindsFilesAndFoldersWithOrWithoutTrailingSeparator) {
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
  TempFolder folder;
  FakeDialogs dialogs;
  BranchCodeFile acceso{folder.Path(), dialogs};
};

TEST_F(BranchCodeFileTest, StoredCodeOfFifteenCharactersNeedsNoPrompt) {
  folder.Write("Acceso", "ABCDEFGHIJKLMNO\r\nMesa,Domicilio\r\n");
  EXPECT_EQ(acceso.ReadBranchCode(), (Lines{u"ABCDEFGHIJKLMNO", u"Mesa,Domicilio", u""}));
  EXPECT_TRUE(dialogs.prompts.empty());
  EXPECT_EQ(folder.Read("Acceso"), "ABCDEFGHIJKLMNO\r\nMesa,Domicilio\r\n");
}

TEST_F(BranchCodeFileTest, ShortCodePromptsUntilFifteenCharactersAndDropsTheOptions) {
  folder.Write("Acceso", "12345678901234\r\nMesa\r\n");
  dialogs.answers = {u"", u"corto", u"ABCDEFGHIJKLMNOP"};
  EXPECT_EQ(acceso.ReadBranchCode(), (Lines{u"ABCDEFGHIJKLMNOP", u""}));
  ASSERT_EQ(dialogs.prompts.size(), 3u);
  for (const auto& prompt : dialogs.prompts) {
    EXPECT_EQ(prompt.title, u"Codigo de sucursal");
    EXPECT_EQ(prompt.prompt,
              u"No tiene registrado un codigo para esta sucursal, registrelo en el siguiente "
              u"campo.\r\nEl codigo de sucursal tiene 15 digitos");
    EXPECT_EQ(prompt.default_text, u"");
  }
  EXPECT_EQ(folder.Read("Acceso"), "ABCDEFGHIJKLMNOP\r\n");
  EXPECT_EQ(acceso.ReadOptionsLine(), u"");
}

TEST_F(BranchCodeFileTest, MissingFileIsCreatedWithTheTypedCodeInWindows1252) {
  dialogs.answers = {u"SUCURSAL-PEÑA-01"};
  EXPECT_EQ(acceso.ReadBranchCode()[0], u"SUCURSAL-PEÑA-01");
  EXPECT_EQ(folder.Read("Acceso"),
            "SUCURSAL-PE\xD1"
            "A-01\r\n");
}

TEST_F(BranchCodeFileTest, UnwritableFolderStillUsesTheTypedCodeAndSaysSo) {
  BranchCodeFile missing_folder(folder.Path() / "no-existe", dialogs);
  dialogs.answers = {u"123456789012345"};
  EXPECT_EQ(missing_folder.ReadBranchCode()[0], u"123456789012345");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Error);
}

TEST_F(BranchCodeFileTest, SecondLineIsReadAgainFromTheFile) {
  folder.Write("Acceso", "ABCDEFGHIJKLMNO\r\ntecnica\r\n");
  EXPECT_EQ(acceso.ReadOptionsLine(), u"tecnica");
  folder.Write("Acceso", "ABCDEFGHIJKLMNO");
  EXPECT_EQ(acceso.ReadOptionsLine(), u"");
  std::filesystem::remove(folder.Path() / "Acceso");
  EXPECT_EQ(acceso.ReadOptionsLine(), u"");
}

TEST_F(BranchCodeFileTest, OptionsAreStoredAsTheSecondLine) {
  acceso.SaveOptions(u"ABCDEFGHIJKLMNO", u"Facturas y PreFactruas,Mesa");
  EXPECT_EQ(folder.Read("Acceso"), "ABCDEFGHIJKLMNO\r\nFacturas y PreFactruas,Mesa\r\n");
}

TEST_F(BranchCodeFileTest, UtfEightMarkIsNoPartOfTheCodeButBlanksAre) {
  folder.Write("Acceso",
               "\xEF\xBB\xBF"
               "SUCURSAL-PE\xC3\x91"
               "A-01\r\nMesa\r\n");
  EXPECT_EQ(acceso.ReadBranchCode(), (Lines{u"SUCURSAL-PEÑA-01", u"Mesa", u""}));
  EXPECT_TRUE(dialogs.prompts.empty());
  // Only a mark at the very start counts; blanks around the code stay, as the file has them.
  folder.Write("Acceso", " ABCDEFGHIJKLMNO \r\n\xEF\xBB\xBFMesa\r\n");
  EXPECT_EQ(acceso.ReadBranchCode(), (Lines{u" ABCDEFGHIJKLMNO ", u"\u00EF\u00BB\u00BFMesa", u""}));
  // The next write stores the lines in Windows-1252, without the mark.
  folder.Write("Acceso",
               "\xEF\xBB\xBF"
               "ABCDEFGHIJKLMN\xC3\x91\r\n");
  acceso.SaveOptions(acceso.ReadBranchCode()[0], u"Mesa");
  EXPECT_EQ(folder.Read("Acceso"), "ABCDEFGHIJKLMN\xD1\r\nMesa\r\n");
}

TEST_F(BranchCodeFileTest, ReplacementAcceptedAtOnceIsStoredAlone) {
  folder.Write("Acceso", "ABCDEFGHIJKLMNO\r\nMesa\r\n");
  dialogs.answers = {u"S12345678901234"};
  EXPECT_EQ(acceso.PromptNewCode(), u"S12345678901234");
  ASSERT_EQ(dialogs.prompts.size(), 1u);
  EXPECT_EQ(dialogs.prompts[0].title, u"Sistema de impresion");
  EXPECT_EQ(dialogs.prompts[0].prompt,
            u"Escribe codigo de la sucursal y presiona Aceptar para iniciar");
  EXPECT_EQ(folder.Read("Acceso"), "S12345678901234\r\n");
}

TEST_F(BranchCodeFileTest, InvalidReplacementAsksAgainWithTheMissingCodePrompt) {
  dialogs.answers = {u"1234567X9012345", u"", u"ABCDEFGHIJKLMNO", u"912345678901234"};
  EXPECT_EQ(acceso.PromptNewCode(), u"912345678901234");
  ASSERT_EQ(dialogs.prompts.size(), 4u);
  EXPECT_EQ(dialogs.prompts[1].title, u"Codigo de sucursal");
  EXPECT_EQ(dialogs.prompts[3].title, u"Codigo de sucursal");
  EXPECT_EQ(folder.Read("Acceso"), "912345678901234\r\n");
}

}  // namespace
}  // namespace quillon::shell
