#pragma once
// RWLocale: the locale service of the date and time classes. It names months and weekdays and
// reads dates and times written as text. This implementation speaks English names (full or the
// first three letters, any case) and numeric dates; subclasses may speak other languages. The
// default locale is a module-wide object that lives as long as the module.

#include <ctime>

#include "foundation/RWCString.h"

class RWLocale {
public:
    virtual ~RWLocale();

    // month 1-12, weekday 1 Monday ... 7 Sunday; empty outside those ranges.
    virtual RWCString monthName(unsigned month) const;
    virtual RWCString weekdayName(unsigned weekday) const;
    // 1-12 (1-7 from Monday); 0 for a name the locale does not know, or null.
    virtual unsigned monthIndex(const char* name) const;
    virtual unsigned weekdayIndex(const char* name) const;

    // Reads "yyyy-mm-dd", "dd.mm.yyyy", "mm/dd/yyyy" or "dd monthname yyyy" (blanks around the
    // text allowed) into tm_mday, tm_mon (0-11) and tm_year (since 1900). The date itself is not
    // checked against the calendar. False when the text has none of these forms.
    virtual bool stringToDate(const RWCString& text, std::tm& out) const;
    // Reads "hh:mm" or "hh:mm:ss" (hours 0-23, minutes and seconds 0-59) into tm_hour, tm_min and
    // tm_sec. False otherwise.
    virtual bool stringToTime(const RWCString& text, std::tm& out) const;

    static const RWLocale& defaultLocale();
};
