// The simple zone: fixed offsets, the zone-name table and the rule-chain daylight test.

#include "foundation/RWZoneSimple.h"

#include <climits>
#include <string>

#include "foundation/CalendarDate.h"
#include "foundation/RWThrow.h"

namespace {

void setAllFields(std::tm& t, int v) {
    t.tm_sec = t.tm_min = t.tm_hour = t.tm_mday = t.tm_mon = t.tm_year = v;
    t.tm_wday = t.tm_yday = t.tm_isdst = v;
}

}  // namespace

bool RWZoneSimple::zoneNames(int h, RWCString& standardName, RWCString& daylightName) {
    if (h < -12 || h > 11) return false;
    std::string s, d;
    if (h <= -3) {
        s = "GMT+" + std::to_string(-h);
        d = "GMT+" + std::to_string(-h - 1);
    } else if (h >= 1 && h <= 4) {
        s = "GMT-" + std::to_string(h);
        d = "GMT-" + std::to_string(h + 1);
    } else if (h >= 10) {
        s = "GMT-" + std::to_string(h);
        d = "GMT-" + std::to_string(h + 1);
    } else {
        static const char* const named[][2] = {
            {"EET", "EET DST"}, {"MET", "MET DST"}, {"GMT", "WET DST"}, {}, {}, {}, {},
            {"EST", "EDT"},     {"CST", "CDT"},     {"MST", "MDT"},     {"PST", "PDT"}, {"YST", "YDT"}};
        s = named[h + 2][0];
        d = named[h + 2][1];
    }
    standardName = RWCString(s.c_str());
    daylightName = RWCString(d.c_str());
    return true;
}

RWZoneSimple::RWZoneSimple(int offsetWest, const RWCString& name)
    : rules_(nullptr), standardOffset_(offsetWest), standardName_(name),
      daylightOffset_(offsetWest), daylightName_(name) {}

RWZoneSimple::RWZoneSimple(int hoursWest, const DaylightRule* rules)
    : rules_(rules), standardOffset_(0), daylightOffset_(0) {
    RWCString daylight;
    if (!zoneNames(hoursWest, standardName_, daylight))
        RWThrowInternal("[ZONEHOURS] Hours west of GMT must lie in -12..11");
    standardOffset_ = hoursWest * 3600;
    if (rules_ != nullptr) {
        daylightOffset_ = (hoursWest - 1) * 3600;
        daylightName_ = daylight;
    } else {
        daylightOffset_ = standardOffset_;
        daylightName_ = standardName_;
    }
}

RWZoneSimple::RWZoneSimple(int hoursWest, ChainNumber chain)
    : RWZoneSimple(hoursWest, DaylightRule::chain(static_cast<int>(chain))) {}

RWZoneSimple::RWZoneSimple(const DaylightRule* rules, int standardOffsetWest,
                           const RWCString& standardName, int daylightOffsetWest,
                           const RWCString& daylightName)
    : rules_(rules), standardOffset_(standardOffsetWest), standardName_(standardName),
      daylightOffset_(daylightOffsetWest), daylightName_(daylightName) {}

const DaylightRule* RWZoneSimple::ruleFor(const std::tm& t) const {
    if (rules_ == nullptr) return nullptr;
    const DaylightRule* rule = rules_->forYear(static_cast<long>(t.tm_year) + 1900);
    return (rule != nullptr && rule->observes) ? rule : nullptr;
}

bool RWZoneSimple::inDaylightTime(const std::tm& t) const {
    const DaylightRule* rule = ruleFor(t);
    if (rule == nullptr) return false;
    const bool beforeStart = rule->start.isAfter(t);
    const bool beforeEnd = rule->end.isAfter(t);
    return (beforeStart == beforeEnd) != (rule->start.month < rule->end.month);
}

void RWZoneSimple::transition(std::tm& t, bool start) const {
    const DaylightRule* rule = ruleFor(t);
    if (rule == nullptr) {
        setAllFields(t, INT_MIN);
        return;
    }
    const TransitionRule& change = start ? rule->start : rule->end;
    const long year = static_cast<long>(t.tm_year) + 1900;
    t.tm_mon = change.month;
    t.tm_mday = change.dayOfMonth(year);
    std::tm exact{};
    CalendarDate(static_cast<unsigned>(t.tm_mday), static_cast<unsigned>(change.month + 1),
                 static_cast<unsigned>(year)).toTm(exact);
    // A fixed-day rule keeps its day in the weekday field; the broken-down time gets the real one.
    t.tm_wday = change.week < 0 ? exact.tm_wday : change.weekday;
    t.tm_yday = exact.tm_yday;
    t.tm_hour = change.minute / 60;
    t.tm_min = change.minute % 60;
    t.tm_sec = 0;
    t.tm_isdst = -1;
}

void RWZoneSimple::daylightStart(std::tm& t) const { transition(t, true); }

void RWZoneSimple::daylightEnd(std::tm& t) const { transition(t, false); }
