// The JSON script language: literals, commands, variables, dialogs and the nesting limit.
#include "json/json_script.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/failure.h"
#include "support/fake_dialogs.h"

namespace quillon::json {
namespace {

using platform::MessageIcon;

class JsonScriptTest : public ::testing::Test {
 protected:
  test::FakeDialogs dialogs_;
  JsonScript script_{dialogs_};
};

TEST_F(JsonScriptTest, LiteralsAndNullsAreConcatenated) {
  EXPECT_EQ(script_.Eval(u"[null, \"x\"]"), u"nullx");
  EXPECT_EQ(script_.Eval(u"['a', ['b', [true, false, null, 1.5, -2]]]"), u"abtruefalsenull1.5-2");
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(JsonScriptTest, VariablesLiveAsLongAsTheObject) {
  EXPECT_EQ(script_.Eval(u"[\"Hola \", {\"get\": {\"name\": \"x\", \"default\": \"mundo\"}}]"),
            u"Hola mundo");
  EXPECT_EQ(script_.Eval(u"[{\"set\": {\"name\": \"x\", \"value\": \"1\"}}]"), u"");
  EXPECT_EQ(script_.Eval(u"[{\"get\": {\"name\": \"x\"}}]"), u"1");
  EXPECT_EQ(script_.Eval(u"[{\"set\": {\"name\": \"x\", \"value\": {\"get\": {\"name\": \"y\", "
                         u"\"default\": \"dos\"}}}}, {\"get\": {\"name\": \"x\"}}]"),
            u"dos");
  JsonScript other(dialogs_);
  EXPECT_EQ(other.Eval(u"[{\"get\": {\"name\": \"x\", \"default\": \"nada\"}}]"), u"nada");
  EXPECT_EQ(other.Eval(u"[{\"GET\": {\"name\": \"X\"}}]"), u"");  // names are exact, commands not
}

TEST_F(JsonScriptTest, IfComparesOrdinallyExceptEq) {
  const auto run = [&](const std::u16string& type) {
    return script_.Eval(u"[{\"if\": {\"value1\": \"B\", \"value2\": \"b\", \"type\": \"" + type +
                        u"\", \"true\": \"si\", \"false\": \"no\"}}]");
  };
  EXPECT_EQ(run(u"eq"), u"si");
  EXPECT_EQ(run(u"EQ"), u"si");
  EXPECT_EQ(run(u"gt"), u"no");  // B sorts before b
  EXPECT_EQ(run(u"lt"), u"si");
  EXPECT_EQ(run(u"gte"), u"no");
  EXPECT_EQ(run(u"lte"), u"si");
  EXPECT_EQ(run(u"distinto"), u"no");
  // Numbers take a decimal point before they are compared.
  EXPECT_EQ(script_.Eval(u"[{\"if\": {\"value1\": 2.5, \"value2\": \"2.5\", \"type\": \"eq\", "
                         u"\"true\": \"igual\"}}]"),
            u"igual");
  EXPECT_EQ(script_.Eval(u"[{\"if\": {\"value1\": 1, \"value2\": 2, \"type\": \"gt\", "
                         u"\"true\": \"mayor\"}}]"),
            u"");  // a missing branch gives the empty text
}

TEST_F(JsonScriptTest, SwitchPicksTheFirstMatchingCase) {
  const std::u16string items =
      u"\"items\": [{\"case\": \"Mesa\", \"return\": \"M\"}, {\"case\": 2, \"return\": \"dos\"},"
      u" {\"case\": \"mesa\", \"return\": \"otra\"}]";
  EXPECT_EQ(
      script_.Eval(u"[{\"switch\": {\"case\": \"MESA\", \"default\": \"?\", " + items + u"}}]"),
      u"M");
  EXPECT_EQ(script_.Eval(u"[{\"switch\": {\"case\": 2, \"default\": \"?\", " + items + u"}}]"),
            u"dos");
  EXPECT_EQ(
      script_.Eval(u"[{\"switch\": {\"case\": \"barra\", \"default\": \"?\", " + items + u"}}]"),
      u"?");
}

TEST_F(JsonScriptTest, UnknownCommandsLeavePlaceholders) {
  EXPECT_EQ(script_.Eval(u"[{\"suma\": {\"a\": 1, \"b\": \"x\"}}]"), u"<%SUMA(1,x)%>");
  EXPECT_EQ(script_.Eval(u"[{\"Hoy\": \"corto\"}]"), u"<%HOY(corto)%>");
  EXPECT_EQ(script_.Eval(u"[{\"niño\": [1]}]"), u"<%NIÑO()%>");
  EXPECT_EQ(script_.Eval(u"[{\"return\": \"fin\", \"x\": {}}]"), u"fin<%X()%>");
}

TEST_F(JsonScriptTest, AlertAndInputGoThroughTheDialogs) {
  dialogs_.answers.push_back(u"Ana");
  EXPECT_EQ(script_.Eval(u"[{\"alert\": {\"message\": \"Hola\", \"title\": \"Aviso\"}}, "
                         u"{\"input\": {\"prompt\": \"Nombre\", \"title\": \"Cliente\", "
                         u"\"default\": \"anónimo\"}}, \"!\"]"),
            u"Ana!");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].message, u"Hola");
  EXPECT_EQ(dialogs_.messages[0].title, u"Aviso");
  EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::kInformation);
  ASSERT_EQ(dialogs_.prompts.size(), 1u);
  EXPECT_EQ(dialogs_.prompts[0].prompt, u"Nombre");
  EXPECT_EQ(dialogs_.prompts[0].title, u"Cliente");
  EXPECT_EQ(dialogs_.prompts[0].default_text, u"anónimo");
}

TEST_F(JsonScriptTest, ParseErrorsAreShownAndGiveNothing) {
  EXPECT_EQ(script_.Eval(u"{"), u"");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].message, u"Missing '}': {\r\n");
  EXPECT_EQ(dialogs_.messages[0].title, u"Parser Error");
  EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::kWarning);
  EXPECT_EQ(script_.Eval(u"hola"), u"");
  EXPECT_EQ(dialogs_.messages[1].message, u"Invalid JSON");
}

TEST_F(JsonScriptTest, MalformedScriptsRaise) {
  for (const char16_t* text : {u"{\"a\": \"b\"}", u"[1]", u"[true]", u"[{\"alert\": 5}]",
                               u"[{\"switch\": {\"items\": \"x\"}}]"}) {
    EXPECT_THROW(script_.Eval(text), platform::Failure) << std::u16string(text).size();
  }
  // A failure deep inside must not leave levels counted.
  for (int i = 0; i < 50; ++i) {
    EXPECT_THROW(script_.Eval(u"[[[[{\"x\": 1}]]]]"), platform::Failure);
  }
  EXPECT_EQ(script_.Eval(u"[[[[\"ok\"]]]]"), u"ok");
}

TEST_F(JsonScriptTest, NestingBeyondFortyOneLevelsIsRefused) {
  // Each array inside the root costs one level; the text sits one level below the last array.
  const auto nested = [](int arrays) {
    return u"[" + std::u16string(static_cast<std::size_t>(arrays), u'[') + u"\"x\"" +
           std::u16string(static_cast<std::size_t>(arrays), u']') + u"]";
  };
  EXPECT_EQ(script_.Eval(nested(40)), u"x");
  EXPECT_EQ(script_.Eval(nested(41)), u"ERROR: Nesting level exceeded.");
  EXPECT_EQ(script_.Eval(nested(60)), u"ERROR: Nesting level exceeded.");
  EXPECT_EQ(script_.Eval(nested(1)), u"x");
}

TEST_F(JsonScriptTest, ExecCommandEvaluatesOneValue) {
  EXPECT_EQ(script_.ExecCommand(Value(Decimal::FromParts(12505, 1))), u"1250.5");
  EXPECT_EQ(script_.ExecCommand(Value()), u"");
  EXPECT_EQ(script_.ExecCommand(Value::Null()), u"null");
}

}  // namespace
}  // namespace quillon::json
