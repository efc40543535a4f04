// What the stand-in host records of its own calls, and the faults it can be told to
// inject: any host call can be made to fail by name and occurrence with a chosen code.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "AE_Effect.h"

namespace solvane::host {

class CallLog {
 public:
  void Record(const std::string& call);
  std::vector<std::string> Calls() const;
  size_t Count(const std::string& call) const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
};

class FaultPlan {
 public:
  // Makes the `occurrence`-th call (1-based, counted from now) of `call` answer `code`;
  // occurrence 0 makes every call fail.
  void Fail(const std::string& call, int occurrence, PF_Err code);
  void Clear();
  // Counts the call and answers its injected error, or PF_Err_NONE.
  PF_Err Check(const std::string& call);

 private:
  struct Rule {
    int occurrence;
    PF_Err code;
  };
  std::mutex mutex_;
  std::map<std::string, std::vector<Rule>> rules_;
  std::map<std::string, int> seen_;
};

}  // namespace solvane::host
