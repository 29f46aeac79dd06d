#pragma once
// Counts the status messages a job intake asked to send.
#include "link/job_intake.h"

namespace quillon::test {

class FakeStatusReply : public link::StatusReply {
 public:
  bool SendStatus() override {
    ++sent;
    return true;
  }
  int sent = 0;
};

}  // namespace quillon::test
