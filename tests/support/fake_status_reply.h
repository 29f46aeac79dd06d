#pragma once
// Counts the status messages a job intake asked to send.
#include "link/job_intake.h"

namespace quillon::test {

class FakeStatusReply : public link::StatusReply {
 public:
  void SendStatus() override { ++sent; }
  int sent = 0;
};

}  // namespace quillon::test
