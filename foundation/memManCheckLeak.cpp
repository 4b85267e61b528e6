// Live allocation snapshots.

#include "foundation/memManCheckLeak.h"

#include "foundation/memManSystem.h"

memManCheckLeakC::memManCheckLeakC() : snapshot_(memManUserCount()) {}

long memManCheckLeakC::difference() const { return memManUserCount() - snapshot_; }
