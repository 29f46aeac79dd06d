// The value tree as the documents read it: absent keys, Empty, loose equality, positions.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "json/parser.h"
#include "json/value.h"
#include "parse_all_ways.h"

namespace quillon::json {
namespace {

std::u16string Number(int n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

// The object's Item adds an absent key holding Empty; a read through a const view gives the
// same Empty and leaves the tree as it is.
TEST(ValueTree, ReadingAnAbsentKeyGivesEmptyAndOnlyItemAddsIt) {
  ParseResult parsed = ParseJson(u"{\"mesa\":\"5\",\"total\":12500}");
  ASSERT_EQ(parsed.errors, u"");
  const Value& order = parsed.root;
  const Value& read = order[u"propina"];
  EXPECT_TRUE(read.IsEmpty());
  EXPECT_FALSE(read.IsNull());
  EXPECT_EQ(order.AsDictionary().Count(), 2);  // reading does not add
  Dictionary& members = parsed.root.AsDictionary();
  EXPECT_EQ(members.Find(u"propina"), nullptr);  // looking does not add
  const Value& tip = members.Item(u"propina");
  EXPECT_TRUE(tip.IsEmpty());
  EXPECT_FALSE(tip.IsNull());
  EXPECT_EQ(members.Keys(), (std::vector<std::u16string>{u"mesa", u"total", u"propina"}));
  EXPECT_TRUE(members.Exists(u"propina"));
  EXPECT_FALSE(members.Exists(u"Mesa"));  // keys are exact
}

TEST(ValueTree, EmptyEqualsEmptyTextAndZeroButNotNull) {
  const Value empty;
  EXPECT_TRUE(empty.LooseEquals(Value(u"")));
  EXPECT_TRUE(empty.LooseEquals(Value(0)));
  EXPECT_TRUE(empty == u"");
  EXPECT_FALSE(empty.LooseEquals(Value::Null()));
  EXPECT_FALSE(empty.LooseEquals(Value(1)));
  EXPECT_FALSE(empty.LooseEquals(Value(u"0")));  // against a text, Empty is the empty text
  EXPECT_FALSE(empty.ToBool());
  EXPECT_EQ(empty.ToText(), u"");
  EXPECT_EQ(empty.ToDecimal() + Decimal(5), Decimal(5));  // counts as 0 in sums
}

TEST(ValueTree, LooseEqualityOfNumbersAndTexts) {
  EXPECT_TRUE(Value(Decimal::FromParts(150, 2)).LooseEquals(Value(Decimal::FromParts(15, 1))));
  EXPECT_TRUE(Value(Decimal::FromParts(15, 1)) == u"1,5");
  EXPECT_FALSE(Value(u"a").LooseEquals(Value(u"A")));
  EXPECT_FALSE(Value::Null().LooseEquals(Value::Null()));
  const Value list = ParseJson(u"[1]").root;
  EXPECT_TRUE(list.LooseEquals(list));
  EXPECT_FALSE(list.LooseEquals(ParseJson(u"[1]").root));  // containers compare by identity
}

TEST(ValueTree, ConversionsRaiseTheClassicNumbers) {
  auto number_of = [](auto action) {
    try {
      action();
    } catch (const platform::Failure& error) {
      return error.Number();
    }
    return 0;
  };
  EXPECT_EQ(number_of([] { Value::Null().ToText(); }), 94);
  EXPECT_EQ(number_of([] { Value(u"doce").ToDecimal(); }), 13);
  EXPECT_EQ(number_of([] { Value(u"x").AsDictionary(); }), 424);
  EXPECT_EQ(Value(u"1.250,5").ToDecimal(), Decimal::FromParts(12505, 1));
  EXPECT_TRUE(Value(u"TRUE").ToBool());
  EXPECT_EQ(Value(true).ToText(), u"True");
}

// Texts of up to 15 characters live inside the value, longer ones apart: both read the same.
TEST(ValueTree, TextsEitherSideOfTheInPlaceLimitReadAlike) {
  const std::u16string fifteen = u"Alergia al maní";   // 15 units
  const std::u16string sixteen = u"Limonada de coco";  // 16 units
  const ParseResult result = ParseJson(u"[\"" + fifteen + u"\", \"" + sixteen +
                                       u"\", \"\", \"1.250,5\", "
                                       u"\"trUE\", \"Sin\\u00e9\", \"" +
                                       sixteen + u"\\n\"]");
  ASSERT_EQ(result.errors, u"");
  const Collection& items = result.root.AsCollection();
  ASSERT_EQ(items.Count(), 7);
  EXPECT_EQ(items.Item(1).ToText(), fifteen);
  EXPECT_EQ(items.Item(2).ToText(), sixteen);
  EXPECT_TRUE(items.Item(1).IsText());
  EXPECT_EQ(items.Item(1).kind(), Value::Kind::kText);
  EXPECT_TRUE(items.Item(1).LooseEquals(Value(fifteen)));
  EXPECT_TRUE(items.Item(2).LooseEquals(Value(sixteen)));
  EXPECT_FALSE(items.Item(1).LooseEquals(Value(fifteen + u" ")));
  EXPECT_TRUE(items.Item(3).LooseEquals(Value()));
  EXPECT_FALSE(items.Item(3).LooseEquals(Value(0)));  // a text, not Empty
  EXPECT_EQ(items.Item(4).ToDecimal(), Decimal::FromParts(12505, 1));
  EXPECT_TRUE(items.Item(5).ToBool());
  EXPECT_EQ(items.Item(6).ToText(), u"Sin\u00e9");
  EXPECT_EQ(items.Item(7).ToText(), sixteen + u"\n");
  EXPECT_EQ(Value(u"0").ToBool(), false);
  Value changed = items.Item(1);
  changed = Value(sixteen);  // in place, then apart
  EXPECT_EQ(changed.ToText(), sixteen);
  changed = Value(fifteen);
  EXPECT_EQ(changed.ToText(), fifteen);
}

TEST(ValueTree, KeysEitherSideOfTheInPlaceLimitSurviveGrowthAndCopies) {
  const std::u16string fifteen = u"NombreProducto1";  // 15 units
  const std::u16string sixteen = u"NombreProducto12";
  const std::u16string long_key = u"DescripciónLargaDelProductoEnLaComanda";
  std::u16string text =
      u"{\"" + fifteen + u"\": 1, \"" + sixteen + u"\": 2, \"" + long_key + u"\": 3";
  for (int i = 0; i < 20; ++i) text += u", \"" + long_key + std::u16string(1, u'a' + i) + u"\": 4";
  text += u", \"" + sixteen + u"\": 5}";
  const ParseResult parsed = ParseJson(text);
  EXPECT_NE(parsed.errors, u"");  // the repeated key stops the reading
  const Dictionary& members = parsed.root.AsDictionary();
  ASSERT_EQ(members.Count(), 23);
  const Dictionary copy = members;  // an object of its own, from a tree's
  const Dictionary copy_of_copy = copy;
  const auto number = [](const Dictionary* object, std::u16string_view key) {
    const Value* found = object->Find(key);
    return found == nullptr ? Decimal(-1) : found->ToDecimal();
  };
  for (const Dictionary* each : {&members, &copy_of_copy}) {
    EXPECT_EQ(number(each, fifteen), Decimal(1));
    EXPECT_EQ(number(each, sixteen), Decimal(2));
    EXPECT_EQ(number(each, long_key), Decimal(3));
    EXPECT_EQ(number(each, long_key + u"t"), Decimal(4));
    EXPECT_EQ(each->Find(fifteen.substr(0, 14)), nullptr);
    EXPECT_EQ(each->Keys()[2], long_key);
    EXPECT_EQ(std::u16string_view(each->Entries()[1].first), sixteen);
  }
  Dictionary edited;
  edited.Set(long_key, Value(1));
  edited.Set(long_key, Value(2));
  edited = copy_of_copy;  // the long keys held before are let go
  EXPECT_EQ(edited.Keys(), copy_of_copy.Keys());
}

// Member lists are kept for reuse once a tree is dropped: lists of every size, small and past
// what is kept, built again over the blocks of dropped ones, on more than one thread.
// {"lista": [{"n": 0}, {"n": 1}, ...]} with `size` members, read and checked.
void ReadListOfSize(int size) {
  std::u16string text = u"{\"lista\": [";
  for (int i = 0; i < size; ++i) {
    text += (i == 0 ? u"" : u", ") + std::u16string(u"{\"n\": ") +
            std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"}";
  }
  text += u"]}";
  const ParseResult parsed = ParseJson(text);
  ASSERT_EQ(parsed.errors, u"");
  const Value& tree = parsed.root;
  const Collection& items = tree[u"lista"].AsCollection();
  ASSERT_EQ(items.Count(), size);
  for (int i = 1; i <= size; ++i) {
    ASSERT_EQ(items.Item(i)[u"n"].ToDecimal(), Decimal((i - 1) % 10)) << size;
    ASSERT_EQ(items.Item(i).AsDictionary().Count(), 1);
  }
}

TEST(ValueTree, TreesBuiltOverDroppedOnesHoldTheirOwnMembers) {
  const auto build_and_check = [] {
    for (int round = 0; round < 3; ++round) {
      for (int size = 0; size < 60; size += 1 + size / 8) ReadListOfSize(size);
    }
  };
  build_and_check();
  std::thread other(build_and_check);
  other.join();
}

// A reference taken from a tree stays valid, at the same place, while later reads add keys to
// the same object: read objects of every size, and objects of their own.
TEST(ValueTree, ReferencesStayValidWhileReadsAddKeys) {
  const auto check = [](Dictionary& members, int count) {
    std::vector<const Value*> held;
    for (int i = 1; i <= count; ++i) held.push_back(&members.Item(u"m" + Number(i)));
    const Value& absent = members.Item(u"ausente");
    for (int i = 1; i <= 100; ++i) {
      ASSERT_TRUE(members.Item(u"nueva" + Number(i)).IsEmpty());
      ASSERT_EQ(&members.Item(u"ausente"), &absent);
    }
    for (int i = 1; i <= count; ++i) {
      ASSERT_EQ(members.Find(u"m" + Number(i)), held[static_cast<std::size_t>(i - 1)]);
      ASSERT_EQ(held[static_cast<std::size_t>(i - 1)]->ToText(), u"v" + Number(i));
    }
    ASSERT_EQ(members.Count(), count + 101);
    ASSERT_EQ(members.Entries()[static_cast<std::size_t>(count)].first, u"ausente");
  };
  for (int count = 0; count <= 40; ++count) {
    SCOPED_TRACE(count);
    std::u16string text = u"{";
    Dictionary own;
    for (int i = 1; i <= count; ++i) {
      text += (i == 1 ? u"\"m" : u", \"m") + Number(i) + u"\": \"v" + Number(i) + u"\"";
      own.Set(u"m" + Number(i), Value(u"v" + Number(i)));
    }
    ParseResult parsed = ParseJson(text + u"}");
    ASSERT_EQ(parsed.errors, u"");
    check(parsed.root.AsDictionary(), count);
    check(own, count);
  }
}

// The settings of a job outlive it: a copied subtree reads the same once the job is gone.
TEST(ValueTree, CopiedSubtreeOutlivesItsTree) {
  Value copy;
  std::u16string expected;
  {
    const ParseResult job = ParseJson(
        u"{\"config\": [{\"Nombre\": \"Nombre Establecimiento\", \"Descripcion\": "
        u"\"El Fogón de la Abuela\", \"Visible\": 1.5, \"DescripcionLargaDelCampo\": [null, "
        u"true, {}]}], \"dato\": []}");
    ASSERT_EQ(job.errors, u"");
    const Value& config = job.root[u"config"];
    copy = CopyTree(config);
    expected = TreeForComparison(config);
    EXPECT_FALSE(copy.LooseEquals(config));  // a container of its own
  }
  EXPECT_EQ(TreeForComparison(copy), expected);
  EXPECT_EQ(copy[1][u"Descripcion"].ToText(), u"El Fogón de la Abuela");
  EXPECT_TRUE(copy[1][u"Otro"].IsEmpty());
  EXPECT_EQ(CopyTree(Value(u"texto suelto")).ToText(), u"texto suelto");
}

TEST(ValueTree, CollectionPositionsRunFromOneToCount) {
  const Value list = ParseJson(u"['a','b','c']").root;
  const Collection& items = list.AsCollection();
  EXPECT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Item(1).ToText(), u"a");
  EXPECT_EQ(list[3].ToText(), u"c");
  for (const int outside : {0, 4, -1}) {
    try {
      items.Item(outside);
      ADD_FAILURE() << outside;
    } catch (const platform::Failure& error) {
      EXPECT_EQ(error.Number(), 9);
    }
  }
  std::u16string joined;
  for (const Value& v : items) joined += v.ToText();
  EXPECT_EQ(joined, u"abc");
}

TEST(ValueTree, AddRefusesARepeatedKeyAndSetReplaces) {
  Dictionary members;
  members.Add(u"a", Value(1));
  try {
    members.Add(u"a", Value(2));
    ADD_FAILURE();
  } catch (const platform::Failure& error) {
    EXPECT_EQ(error.Number(), 457);
  }
  EXPECT_EQ(members.Item(u"a").ToDecimal(), Decimal(1));
  members.Set(u"a", Value(3));
  members.Set(u"b", Value(4));
  EXPECT_EQ(members.Item(u"a").ToDecimal(), Decimal(3));
  EXPECT_EQ(members.Keys(), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(ValueTree, LargeObjectsKeepOrderAndFindEveryKey) {
  Dictionary members;
  for (int i = 0; i < 2000; ++i) {
    ASSERT_TRUE(
        members.TryAdd(u"clave" + std::u16string(1, static_cast<char16_t>(0x4E00 + i)), Value(i)));
  }
  std::u16string key = u"clave" + std::u16string(1, static_cast<char16_t>(0x4E00 + 7));
  Value seven(7);
  EXPECT_FALSE(members.TryAdd(std::move(key), std::move(seven)));
  EXPECT_FALSE(key.empty());  // NOLINT(bugprone-use-after-move): a refused key is not moved from
  for (int i = 0; i < 2000; ++i) {
    const Value* found =
        members.Find(u"clave" + std::u16string(1, static_cast<char16_t>(0x4E00 + i)));
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(found->ToDecimal(), Decimal(i));
  }
  EXPECT_EQ(members.Find(u"clave"), nullptr);
  EXPECT_TRUE(members.Item(u"nueva").IsEmpty());
  EXPECT_EQ(members.Count(), 2001);
  EXPECT_EQ(members.Keys().back(), u"nueva");
  EXPECT_EQ(members.Entries()[1999].second.ToDecimal(), Decimal(1999));
}

}  // namespace
}  // namespace quillon::json
