#pragma once
// RWZone: the time-zone interface of the date and time classes (offsets in seconds west of GMT,
// zone names, and the daylight-saving test and change dates of a year), with the module-wide
// zones: the local zone, the system zone, the standard zone and GMT. The accessors own the zones
// they build; a zone installed by a setter stays the caller's and must outlive its use.

#include <ctime>

#include "foundation/RWCString.h"

class RWZone {
public:
    virtual ~RWZone();

    // Seconds west of GMT outside and during daylight saving.
    virtual int standardOffset() const = 0;
    virtual int daylightOffset() const = 0;
    // True when the zone has daylight-saving rules.
    virtual bool observesDaylight() const = 0;
    virtual RWCString standardZoneName() const = 0;
    virtual RWCString daylightZoneName() const = 0;
    // True when the broken-down local time (tm_year, tm_mon, tm_mday, tm_hour, tm_min) lies in
    // daylight saving.
    virtual bool inDaylightTime(const std::tm& t) const = 0;
    // Fill in, for the year of t, the local moment daylight saving begins (the start, in standard
    // time) or ends (in daylight time): month, day, weekday, hour and minute; second 0; daylight
    // flag -1. Every field becomes INT_MIN when the zone keeps no daylight saving that year.
    virtual void daylightStart(std::tm& t) const = 0;
    virtual void daylightEnd(std::tm& t) const = 0;

    // The zone of this machine, from the C library's offsets and daylight-saving decisions.
    static const RWZone& localZone();
    // The second zone of the C library, built the same way and replaceable on its own.
    static const RWZone& systemZone();
    // The local zone's standard time without daylight saving.
    static const RWZone& standardZone();
    // GMT: offset 0, no daylight saving.
    static const RWZone& gmtZone();

    // Install `zone` (null: the built-in one again) and return the zone in force before.
    static const RWZone* setLocalZone(const RWZone* zone);
    static const RWZone* setSystemZone(const RWZone* zone);
    static const RWZone* setStandardZone(const RWZone* zone);
};
