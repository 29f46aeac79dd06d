#pragma once
// Keeps rejected jobs in memory, in order; can be told to fail.
#include <string>
#include <vector>

#include "link/rejected_job_store.h"

namespace quillon::test {

class FakeRejectedJobs : public link::RejectedJobStore {
 public:
  struct Job {
    std::string bytes;
    std::u16string kind;
  };

  Kept Keep(std::string_view bytes, std::u16string_view kind) override {
    if (!failure.empty()) return {u"", failure};
    jobs.push_back({std::string(bytes), std::u16string(kind)});
    return {u"/datos/rechazados/" + std::u16string(kind) + u".json", u""};
  }

  std::vector<Job> jobs;
  std::u16string failure;  // when set, nothing is kept and this is the reason
};

}  // namespace quillon::test
