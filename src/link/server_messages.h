#pragma once
// The two messages the agent sends to the print server: compact JSON objects with the branch
// code first, nothing after the closing brace.
#include <string>
#include <string_view>

namespace quillon::link {

// {"idSyA":"CODE","type":"id"}, sent on every new connection.
std::u16string IdentificationMessage(std::u16string_view code);
// {"idSyA":"CODE","status":"0"}, with the busy flag as the status digit.
std::u16string StatusMessage(std::u16string_view code, int busy);

}  // namespace quillon::link
