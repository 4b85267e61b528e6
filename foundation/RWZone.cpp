// The module-wide zones. Each accessor builds its zone on first use; a setter only swaps the
// pointer in force, so a zone handed out earlier stays valid.

#include "foundation/RWZone.h"

#include <memory>

#include "foundation/RWZoneLocal.h"
#include "foundation/RWZoneSimple.h"

namespace {

struct ZoneSlot {
    const RWZone* current = nullptr;
    const RWZone* builtIn = nullptr;
};

// Built-in zones live as long as the module; the GMT zone is deleted at unload.
ZoneSlot& localSlot() {
    static ZoneSlot slot{nullptr, new RWZoneLocal()};
    return slot;
}

ZoneSlot& systemSlot() {
    static ZoneSlot slot{nullptr, new RWZoneLocal()};
    return slot;
}

ZoneSlot& standardSlot() {
    static ZoneSlot slot = [] {
        const RWZone& local = RWZone::localZone();
        return ZoneSlot{nullptr, new RWZoneSimple(local.standardOffset(), local.standardZoneName())};
    }();
    return slot;
}

const RWZone& current(ZoneSlot& slot) { return slot.current ? *slot.current : *slot.builtIn; }

const RWZone* install(ZoneSlot& slot, const RWZone* zone) {
    const RWZone* previous = &current(slot);
    slot.current = zone;
    return previous;
}

}  // namespace

RWZone::~RWZone() = default;

const RWZone& RWZone::localZone() { return current(localSlot()); }
const RWZone& RWZone::systemZone() { return current(systemSlot()); }
const RWZone& RWZone::standardZone() { return current(standardSlot()); }

const RWZone& RWZone::gmtZone() {
    static const std::unique_ptr<const RWZone> gmt(new RWZoneSimple(0, RWZoneSimple::NoRules));
    return *gmt;
}

const RWZone* RWZone::setLocalZone(const RWZone* zone) { return install(localSlot(), zone); }
const RWZone* RWZone::setSystemZone(const RWZone* zone) { return install(systemSlot(), zone); }
const RWZone* RWZone::setStandardZone(const RWZone* zone) { return install(standardSlot(), zone); }
