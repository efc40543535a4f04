// The balance of checkout_param and checkin_param: which definitions the effect holds,
// and every checkout it made, by index and time.
#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "AE_Effect.h"

namespace solvane::host {

struct ParamCheckout {
  PF_ParamIndex index = 0;
  A_long time = 0;
  A_long timeStep = 0;
  A_u_long timeScale = 0;
};

class ParamCheckouts {
 public:
  void CheckedOut(const PF_ParamDef* def, const ParamCheckout& checkout);
  // Matches the definition the effect hands back; one never checked out (or already
  // checked in) counts as a stray check-in.
  void CheckedIn(const PF_ParamDef* def);

  int Outstanding() const;  // checked out and not yet checked in
  int StrayCheckins() const;
  std::vector<ParamCheckout> History() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::multimap<const PF_ParamDef*, PF_ParamIndex> outstanding_;
  std::vector<ParamCheckout> history_;
  int stray_ = 0;
};

}  // namespace solvane::host
