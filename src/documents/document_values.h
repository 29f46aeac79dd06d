#pragma once
// How the documents read the job's values into print statements: the loose tests of the job
// senders (a null is never "not empty" nor "above 0"), values printed as sent, amount lines, and
// the report of a document that could not be printed.
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "documents/documents.h"
#include "json/value.h"
#include "print/print_engine.h"

namespace quillon::documents {

// Not null and not the empty text (Empty reads as empty).
bool IsNotEmpty(const json::Value& value);
// Not null and different from `text`, compared loosely as the job senders do.
bool DiffersFrom(const json::Value& value, std::u16string_view text);
// Not null and, read as a number, above 0; a non-numeric text raises.
bool IsAbove0(const json::Value& value);
// Text form for joining: a null joins as nothing.
std::u16string JoinText(const json::Value& value);

// The value printed as sent: a number as a number item, a text as it is, Empty or null as
// nothing. Containers raise.
std::vector<print::PrintItem> ValueItems(const json::Value& value);
// Prints `items` as one line on the ticket being drawn.
void PrintLine(print::PrintEngine& engine, const std::vector<print::PrintItem>& items);
void PrintLine(print::PrintEngine& engine, std::u16string text);
// Label from column 1 and the amount ending in column W - 1.
void PrintAmountLine(print::PrintEngine& engine, std::u16string label,
                     const std::u16string& amount);
void PrintAmountLine(print::PrintEngine& engine, std::u16string label, const json::Decimal& amount);

// Drops the half-drawn ticket, which is never sent, and tells the user with a warning balloon.
void CancelDocument(DocumentContext& context, const std::u16string& text,
                    const std::u16string& title);

inline constexpr int kBalloonTimeoutMs = 30000;

}  // namespace quillon::documents
