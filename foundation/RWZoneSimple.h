#pragma once
// RWZoneSimple: a time zone with a fixed standard offset from GMT and an optional chain of
// daylight-saving rules (DaylightRule.h). The rule chain is static data, never owned.

#include "foundation/DaylightRule.h"
#include "foundation/RWZone.h"

class RWZoneSimple : public RWZone {
public:
    // Rule chains by number: 0 none, 1 North American, 2 European.
    enum ChainNumber { NoRules = 0, NorthAmericanRules = 1, EuropeanRules = 2 };

    // A fixed zone without daylight saving: both offsets `offsetWest`, both names `name`.
    RWZoneSimple(int offsetWest, const RWCString& name);
    // Whole hours west of GMT, -12..11, names from the zone-name table; with a chain, the daylight
    // offset is one hour less. Throws RWInternalErr for hours outside -12..11, which have no name.
    RWZoneSimple(int hoursWest, const DaylightRule* rules);
    RWZoneSimple(int hoursWest, ChainNumber chain);
    RWZoneSimple(const DaylightRule* rules, int standardOffsetWest, const RWCString& standardName,
                 int daylightOffsetWest, const RWCString& daylightName);

    int standardOffset() const override { return standardOffset_; }
    int daylightOffset() const override { return daylightOffset_; }
    bool observesDaylight() const override { return rules_ != nullptr; }
    RWCString standardZoneName() const override { return standardName_; }
    RWCString daylightZoneName() const override { return daylightName_; }
    bool inDaylightTime(const std::tm& t) const override;
    void daylightStart(std::tm& t) const override;
    void daylightEnd(std::tm& t) const override;

    // Names of the zone-name table for whole hours west, -12..11; false outside.
    static bool zoneNames(int hoursWest, RWCString& standardName, RWCString& daylightName);

private:
    // The observing rule of t's year, or null.
    const DaylightRule* ruleFor(const std::tm& t) const;
    void transition(std::tm& t, bool start) const;

    const DaylightRule* rules_;
    int standardOffset_;
    RWCString standardName_;
    int daylightOffset_;
    RWCString daylightName_;
};
