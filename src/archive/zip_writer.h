#pragma once
// A zip file built in memory, for files an IT person receives by mail: each member deflated
// (raw deflate, as the format wants it) unless that would not make it smaller, then stored as
// it is; names in UTF-8 (flag bit 11), times in the format's DOS form (local time, two-second
// steps, 1980 to 2107). No zip64: a member or the whole file past 4 GiB, or more than 65535
// members, is refused.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace quillon::archive {

class ZipWriter {
 public:
  // Adds one member; `name` is its path inside the zip, "/" between folders. Throws
  // platform::Failure past the limits above.
  void Add(std::string_view name, std::string_view bytes, const platform::DateTime& modified);
  // The whole zip: the members, their central directory and the end record. Nothing more can be
  // added after.
  std::string Finish();

 private:
  std::string central_directory_;
  std::string out_;
  std::uint16_t members_ = 0;
};

}  // namespace quillon::archive
