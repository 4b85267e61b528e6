#pragma once
// RWZoneLocal: the machine's own time zone as the C library describes it (through platform/Time.h).
// Names and offsets are taken when the object is built; whether a local time lies in daylight
// saving, and when the changes fall, is asked of the C library for that very moment, so its
// current and historical rules hold rather than a fixed rule chain.

#include "foundation/RWZone.h"

class RWZoneLocal : public RWZone {
public:
    RWZoneLocal();

    int standardOffset() const override { return standardOffset_; }
    int daylightOffset() const override { return daylightOffset_; }
    bool observesDaylight() const override { return observes_; }
    RWCString standardZoneName() const override { return standardName_; }
    RWCString daylightZoneName() const override { return daylightName_; }
    // A local time is in daylight saving when it reads so on the clock either side of a change:
    // from the start (in standard time) up to the end (in daylight time), the same bounds that the
    // rule chains use. The skipped hour therefore tests as daylight time, and the repeated hour
    // too, when read in daylight time.
    bool inDaylightTime(const std::tm& t) const override;
    void daylightStart(std::tm& t) const override;
    void daylightEnd(std::tm& t) const override;

private:
    void transition(std::tm& t, bool start) const;

    int standardOffset_;
    int daylightOffset_;
    bool observes_;
    RWCString standardName_;
    RWCString daylightName_;
};
