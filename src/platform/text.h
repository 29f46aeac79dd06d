#pragma once
// Text at the edges: the core works in UTF-16; the wire and the Acceso file are Windows-1252
// (one byte a character); files, logs and the terminal are UTF-8.
#include <string>
#include <string_view>

namespace quillon::platform {

std::u16string Utf8ToUtf16(std::string_view utf8);  // invalid sequences become U+FFFD
// True when every byte belongs to a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view bytes);
std::string Utf16ToUtf8(std::u16string_view text);  // lone surrogates become U+FFFD

// The UTF-8 sequence at s[i] (i < n): its length, with its code point in *cp; or, when the
// sequence is broken, minus the number of bytes it spans (read as one U+FFFD). A broken sequence
// ends where it broke, so whatever follows is read on its own.
int ReadUtf8Sequence(const unsigned char* s, std::size_t n, std::size_t i, char32_t* cp);

std::u16string Cp1252ToUtf16(std::string_view bytes);
// The character of one Windows-1252 byte.
char16_t Cp1252Unit(unsigned char byte);
// Characters outside Windows-1252 become "?".
std::string Utf16ToCp1252(std::u16string_view text);
// One Windows-1252 byte for a character, or '?' when it has none.
char Cp1252Byte(char16_t c);

// Upper case of each UTF-16 unit by the Unicode simple mapping (ñ -> Ñ, é -> É).
std::u16string ToUpper(std::u16string_view text);
std::u16string ToLower(std::u16string_view text);
// Without leading and trailing blanks (spaces only, as the ticket layouts count them).
std::u16string TrimBlanks(std::u16string_view text);

// The text as a JSON string, quotes included: quotes, backslashes and control characters
// escaped, so it can never end early or add members to what it is put into.
std::u16string QuotedJsonString(std::u16string_view text);

}  // namespace quillon::platform
