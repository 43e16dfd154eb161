#pragma once

#include <QByteArray>

struct icalcomponent_impl;
struct icalproperty_impl;
struct icalrecurrencetype;

namespace platform::vdir {

// Rules with both COUNT and UNTIL: RFC 5545 forbids them, some servers write them, and other calendar programs read
// them as ending at whichever end comes first. libical refuses such a rule (it drops the RRULE with an error mark)
// and cannot hold one, so in a parsed tree it is kept as the rule without UNTIL, with UNTIL in a parameter of ours.

// The rule of an RRULE value; also one with both ends. The caller frees the RSCALE name, as with libical's own.
icalrecurrencetype parseRecurrenceRule(const QByteArray& text);

// Turns libical's error marks for rules with both ends back into RRULE properties (kept as above).
void restoreRulesWithBothEnds(icalcomponent_impl* root);

// The value of an RRULE property as written, with an UNTIL kept aside put back.
QByteArray ruleTextOf(icalproperty_impl* rrule);

// The parameter that keeps the UNTIL aside; IcsKeptLines::write() writes it back into the rule.
extern const char* const kKeptUntil;

}  // namespace platform::vdir
