#pragma once
// memManCheckLeakC: a snapshot of the manager's live allocation count, to see how many
// allocations a stretch of code left behind. It only reports; nothing acts on the difference.

#include "foundation/memManInterface.h"

class memManCheckLeakC : public memManInterfaceC {
public:
  memManCheckLeakC();
  // Current live allocation count minus the snapshot (0 counted when there is no manager).
  long difference() const;
  long snapshot() const { return snapshot_; }

private:
  long snapshot_;
};
