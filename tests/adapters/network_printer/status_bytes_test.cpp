#include "adapters/network_printer/status_bytes.h"

#include <gtest/gtest.h>

namespace quillon::adapters::network_printer {
namespace {

constexpr std::uint8_t kBase = 0x12;  // bits 1 and 4: an answer that reports nothing

StatusAnswers AllClear() { return {kBase, kBase, kBase, kBase}; }

TEST(StatusBytes, TellsAnswersFromOtherBytes) {
  EXPECT_TRUE(IsStatusAnswer(0x12));
  EXPECT_TRUE(IsStatusAnswer(0x7e));   // every reporting bit set
  EXPECT_FALSE(IsStatusAnswer(0x00));  // a GS r answer: paper present
  EXPECT_FALSE(IsStatusAnswer(0x0f));  // a GS r answer: paper near end and out
  EXPECT_FALSE(IsStatusAnswer(0x10));  // bit 1 missing
  EXPECT_FALSE(IsStatusAnswer(0x92));  // bit 7 set
}

TEST(StatusBytes, ClearAnswersAreReady) {
  EXPECT_EQ(DecodeStatus(AllClear()), PrinterCondition::kReady);
  EXPECT_EQ(DecodeStatus({kBase, std::nullopt, std::nullopt, kBase}), PrinterCondition::kReady);
}

// Each bit of the four answers, alone, and what it means.
TEST(StatusBytes, EachBitOfTheFourAnswers) {
  struct Case {
    std::optional<std::uint8_t> StatusAnswers::*answer;
    int bit;
    PrinterCondition expected;
  };
  const Case cases[] = {
      {&StatusAnswers::printer, 2, PrinterCondition::kReady},  // drawer pin: not a fault
      {&StatusAnswers::printer, 3, PrinterCondition::kOffline},
      {&StatusAnswers::printer, 5, PrinterCondition::kReady},  // waiting for online recovery
      {&StatusAnswers::printer, 6, PrinterCondition::kReady},  // feed button held
      {&StatusAnswers::offline_cause, 2, PrinterCondition::kCoverOpen},
      {&StatusAnswers::offline_cause, 3, PrinterCondition::kReady},
      {&StatusAnswers::offline_cause, 5, PrinterCondition::kPaperOut},
      {&StatusAnswers::offline_cause, 6, PrinterCondition::kError},
      {&StatusAnswers::error_cause, 2, PrinterCondition::kError},
      {&StatusAnswers::error_cause, 3, PrinterCondition::kError},
      {&StatusAnswers::error_cause, 5, PrinterCondition::kError},
      {&StatusAnswers::error_cause, 6, PrinterCondition::kError},
      {&StatusAnswers::paper_sensor, 2, PrinterCondition::kPaperLow},
      {&StatusAnswers::paper_sensor, 3, PrinterCondition::kPaperLow},
      {&StatusAnswers::paper_sensor, 5, PrinterCondition::kPaperOut},
      {&StatusAnswers::paper_sensor, 6, PrinterCondition::kPaperOut},
  };
  for (const Case& c : cases) {
    StatusAnswers answers = AllClear();
    answers.*c.answer = static_cast<std::uint8_t>(kBase | (1U << c.bit));
    EXPECT_EQ(DecodeStatus(answers), c.expected) << "bit " << c.bit;
  }
}

TEST(StatusBytes, TheWorstConditionWins) {
  // A printer stopped by the paper end is offline with the cover closed: it lacks paper.
  StatusAnswers out = AllClear();
  out.printer = kBase | 0x08;
  out.offline_cause = kBase | 0x20;
  out.paper_sensor = kBase | 0x0c | 0x60;
  EXPECT_EQ(DecodeStatus(out), PrinterCondition::kPaperOut);
  // Offline with the cover open: the cover is what to tell.
  StatusAnswers cover = AllClear();
  cover.printer = kBase | 0x08;
  cover.offline_cause = kBase | 0x04;
  EXPECT_EQ(DecodeStatus(cover), PrinterCondition::kCoverOpen);
  // Paper low does not hide an error.
  StatusAnswers error = AllClear();
  error.paper_sensor = kBase | 0x0c;
  error.error_cause = kBase | 0x08;
  EXPECT_EQ(DecodeStatus(error), PrinterCondition::kError);
  // Paper fed by the button while offline is a pause, not a fault.
  StatusAnswers feeding = AllClear();
  feeding.printer = kBase | 0x08;
  feeding.offline_cause = kBase | 0x08;
  EXPECT_EQ(DecodeStatus(feeding), PrinterCondition::kReady);
}

TEST(StatusBytes, WhatEachConditionAllowsAndSays) {
  EXPECT_TRUE(Prints(PrinterCondition::kReady));
  EXPECT_TRUE(Prints(PrinterCondition::kPaperLow));
  EXPECT_FALSE(Prints(PrinterCondition::kPaperOut));
  EXPECT_FALSE(Prints(PrinterCondition::kCoverOpen));
  EXPECT_FALSE(Prints(PrinterCondition::kOffline));
  EXPECT_FALSE(Prints(PrinterCondition::kError));
  EXPECT_EQ(ConditionText(PrinterCondition::kPaperOut), u"sin papel");
  EXPECT_EQ(ConditionText(PrinterCondition::kPaperLow), u"papel por acabarse");
  EXPECT_EQ(ConditionText(PrinterCondition::kCoverOpen), u"tapa abierta");
  EXPECT_EQ(ConditionText(PrinterCondition::kOffline), u"apagada o desconectada");
}

}  // namespace
}  // namespace quillon::adapters::network_printer
