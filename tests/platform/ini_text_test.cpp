// The INI text of agent.conf, read alike on every system.
#include "platform/ini_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quillon::platform {
namespace {

std::vector<std::pair<std::string, std::string>> Pairs(const IniText& ini) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const IniSetting& setting : ini.settings) pairs.emplace_back(setting.key, setting.value);
  return pairs;
}

TEST(IniText, SectionsCommentsBlanksAndLineEnds) {
  const IniText ini = ParseIni(
      "\xEF\xBB\xBF; comentario\r\n"
      "  # otro\n"
      "server =  127.0.0.1:3999  \r\n"
      "\n"
      "[General]\n"
      "encoding=utf-8\n"
      "[ impresoras ]\n"
      "Cocina 2 = tcp://10.0.0.5\n"
      "Bar=Barra # no es comentario");
  ASSERT_EQ(ini.fault, IniText::Fault::kNone);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"server", "127.0.0.1:3999"},
      {"encoding", "utf-8"},
      {"impresoras/Cocina 2", "tcp://10.0.0.5"},
      {"impresoras/Bar", "Barra # no es comentario"}};
  EXPECT_EQ(Pairs(ini), expected);
}

TEST(IniText, QuotesKeepCommasBlanksAndBackslashes) {
  const IniText ini = ParseIni(
      "a = \"Caja, Barra\"\n"
      "b = \"  dos  \"\n"
      "c = \"di \\\"hola\\\" \\\\ fin\"\n"
      "d = C:\\tiquetes\\cola\n"
      "e = \"\"\n");
  ASSERT_EQ(ini.fault, IniText::Fault::kNone);
  const std::vector<std::pair<std::string, std::string>> expected = {{"a", "Caja, Barra"},
                                                                     {"b", "  dos  "},
                                                                     {"c", "di \"hola\" \\ fin"},
                                                                     {"d", "C:\\tiquetes\\cola"},
                                                                     {"e", ""}};
  EXPECT_EQ(Pairs(ini), expected);
  for (const IniSetting& setting : ini.settings) EXPECT_FALSE(setting.is_list) << setting.key;
}

TEST(IniText, AnUnquotedCommaMakesAList) {
  const IniText ini = ParseIni("default-printer = Caja , Barra\n");
  ASSERT_EQ(ini.settings.size(), 1u);
  EXPECT_TRUE(ini.settings[0].is_list);
  EXPECT_EQ(ini.settings[0].value, "Caja,Barra");
}

TEST(IniText, TheLastValueOfAKeyWinsInItsFirstPlace) {
  const IniText ini = ParseIni("server = a\nspool = /x\nserver = b\n[impresoras]\nserver = c\n");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"server", "b"}, {"spool", "/x"}, {"impresoras/server", "c"}};
  EXPECT_EQ(Pairs(ini), expected);
}

TEST(IniText, FaultsNameTheirLine) {
  const struct {
    const char* text;
    IniText::Fault fault;
    int line;
  } cases[] = {
      {"; bien\nspool /srv/cola\n", IniText::Fault::kLineWithoutValue, 2},
      {"server = a\n = sin clave\n", IniText::Fault::kLineWithoutValue, 2},
      {"[impresoras\nCocina = x\n", IniText::Fault::kBadSyntax, 1},
      {"a = 1\r\nb = \"abierta\r\n", IniText::Fault::kBadSyntax, 2},
  };
  for (const auto& c : cases) {
    const IniText ini = ParseIni(c.text);
    EXPECT_EQ(ini.fault, c.fault) << c.text;
    EXPECT_EQ(ini.fault_line, c.line) << c.text;
  }
  EXPECT_EQ(ParseIni("server = a\nmal\n").settings.size(), 1u);
}

}  // namespace
}  // namespace quillon::platform
