// Every case of the public JSON test suite goes through the parser without crashing, hanging or
// raising. Our grammar is lenient, so the verdicts differ from strict JSON in known places; those
// are listed here so that any change of verdict shows up.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "json/parser.h"
#include "parse_all_ways.h"
#include "platform/text.h"

namespace quillon::json {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(QUILLON_SOURCE_DIR) / "tests/json/jsontestsuite";

// Valid JSON that we refuse: bare scalars at the root, numbers beyond the decimal range,
// repeated keys, and a root string.
const std::set<std::string> kRefusedValid = {"y_number.json",
                                             "y_number_real_exponent.json",
                                             "y_number_real_fraction_exponent.json",
                                             "y_object_duplicated_key.json",
                                             "y_object_duplicated_key_and_value.json",
                                             "y_string_space.json",
                                             "y_structure_lonely_false.json",
                                             "y_structure_lonely_int.json",
                                             "y_structure_lonely_negative_real.json",
                                             "y_structure_lonely_null.json",
                                             "y_structure_lonely_string.json",
                                             "y_structure_lonely_true.json",
                                             "y_structure_string_empty.json"};

// Invalid JSON that we read without an error line: optional separators, single quotes, bare
// keys, comments, loose number shapes, unknown escapes, raw control characters in strings and
// anything after the root.
const std::set<std::string> kAcceptedInvalid = {
    "n_array_1_true_without_comma.json",
    "n_array_comma_after_close.json",
    "n_array_comma_and_number.json",
    "n_array_extra_close.json",
    "n_array_inner_array_no_comma.json",
    "n_array_missing_value.json",
    "n_array_star_inside.json",
    "n_number_+1.json",
    "n_number_-01.json",
    "n_number_-1.0..json",
    "n_number_-2..json",
    "n_number_.2e-3.json",
    "n_number_0.1.2.json",
    "n_number_0.e1.json",
    "n_number_1_000.json",
    "n_number_2.e+3.json",
    "n_number_2.e-3.json",
    "n_number_2.e3.json",
    "n_number_neg_int_starting_with_zero.json",
    "n_number_neg_real_without_int_part.json",
    "n_number_real_without_fractional_part.json",
    "n_number_starting_with_dot.json",
    "n_number_with_leading_zero.json",
    "n_object_bracket_key.json",
    "n_object_key_with_single_quotes.json",
    "n_object_missing_key.json",
    "n_object_non_string_key.json",
    "n_object_non_string_key_but_huge_number_instead.json",
    "n_object_single_quote.json",
    "n_object_trailing_comment.json",
    "n_object_trailing_comment_open.json",
    "n_object_trailing_comment_slash_open.json",
    "n_object_trailing_comment_slash_open_incomplete.json",
    "n_object_two_commas_in_a_row.json",
    "n_object_unquoted_key.json",
    "n_object_with_trailing_garbage.json",
    "n_string_backslash_00.json",
    "n_string_escape_x.json",
    "n_string_escaped_ctrl_char_tab.json",
    "n_string_escaped_emoji.json",
    "n_string_incomplete_surrogate_escape_invalid.json",
    "n_string_invalid_backslash_esc.json",
    "n_string_invalid_unicode_escape.json",
    "n_string_invalid_utf8_after_escape.json",
    "n_string_single_quote.json",
    "n_string_unescaped_ctrl_char.json",
    "n_string_unescaped_newline.json",
    "n_string_unescaped_tab.json",
    "n_structure_array_trailing_garbage.json",
    "n_structure_array_with_extra_array_close.json",
    "n_structure_double_array.json",
    "n_structure_object_followed_by_closing_object.json",
    "n_structure_object_with_comment.json",
    "n_structure_object_with_trailing_garbage.json",
    "n_structure_trailing_#.json"};

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// A returned root is a container, and a text with no root says "Invalid JSON".
void ExpectConsistent(const ParseResult& parsed) {
  if (parsed.root.IsEmpty()) {
    EXPECT_EQ(parsed.errors, u"Invalid JSON");
  } else {
    EXPECT_TRUE(parsed.root.IsDictionary() || parsed.root.IsCollection());
  }
}

ParseResult ParseBothWays(const std::string& bytes, TextEncoding encoding) {
  ParseResult from_text;
  EXPECT_NO_THROW(from_text = ParseBytesAsText(bytes, encoding));
  ExpectConsistent(from_text);
  return from_text;
}

TEST(JsonTestSuite, ParsingCasesGiveTheKnownVerdicts) {
  const auto files = FilesIn(kSuite / "test_parsing");
  ASSERT_EQ(files.size(), 318u);
  for (const auto& file : files) {
    const std::string name = file.filename().string();
    SCOPED_TRACE(name);
    const std::string bytes = ReadBytes(file);
    ParseBothWays(bytes, TextEncoding::kWindows1252);
    const bool ok = ParseBothWays(bytes, TextEncoding::kUtf8).errors.empty();
    if (name[0] == 'y') {
      EXPECT_EQ(ok, kRefusedValid.count(name) == 0);
    } else if (name[0] == 'n') {
      EXPECT_EQ(ok, kAcceptedInvalid.count(name) == 1);
    }
  }
}

TEST(JsonTestSuite, TransformCasesParse) {
  const auto files = FilesIn(kSuite / "test_transform");
  ASSERT_EQ(files.size(), 22u);
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    ParseBothWays(ReadBytes(file), TextEncoding::kUtf8);
  }
}

}  // namespace
}  // namespace quillon::json
