#pragma once
// Where the text of a job that printed nothing is kept, as it came from the server, so that it
// can be looked at later (quillon-agent --check-job reads it as the agent did).
#include <string>
#include <string_view>

namespace quillon::link {

class RejectedJobStore {
 public:
  struct Kept {
    std::u16string file;   // where the text went; empty when it could not be kept
    std::u16string error;  // why it could not be kept
  };

  virtual ~RejectedJobStore() = default;
  // Keeps the received bytes of one job whole; `kind` is a short name for the file.
  virtual Kept Keep(std::string_view bytes, std::u16string_view kind) = 0;
};

}  // namespace quillon::link
