#include "platform/eventstore/vdir/IcsRuleText.h"

#include <libical/ical.h>

#include <QByteArrayList>

#include <cstdlib>
#include <memory>
#include <vector>

namespace platform::vdir {

const char* const kKeptUntil = "X-ORBITDAY-UNTIL";

namespace {

constexpr QByteArrayView kRefused = "Can't parse as RECUR value in RRULE property. Removing entire property: ";

struct Parts {
    QByteArray withoutUntil;
    QByteArray until;
};

// The rule split at its UNTIL, when it has one and a COUNT.
std::optional<Parts> bothEnds(const QByteArray& text) {
    Parts parts;
    bool counted = false;
    QByteArrayList rest;
    for (const QByteArray& part : text.split(';')) {
        if (part.toUpper().startsWith("UNTIL=")) {
            parts.until = part.mid(6);
            continue;
        }
        counted = counted || part.toUpper().startsWith("COUNT=");
        rest << part;
    }
    if (!counted || parts.until.isEmpty())
        return std::nullopt;
    parts.withoutUntil = rest.join(';');
    return parts;
}

}  // namespace

icalrecurrencetype parseRecurrenceRule(const QByteArray& text) {
    icalrecurrencetype rule = icalrecurrencetype_from_string(text.constData());
    if (rule.freq != ICAL_NO_RECURRENCE)
        return rule;
    const auto parts = bothEnds(text);
    if (!parts)
        return rule;
    std::free(rule.rscale);
    rule = icalrecurrencetype_from_string(parts->withoutUntil.constData());
    const icaltimetype until = icaltime_from_string(parts->until.constData());
    if (icaltime_is_null_time(until) || !icaltime_is_valid_time(until)) {
        std::free(rule.rscale);
        icalrecurrencetype_clear(&rule);
        return rule;
    }
    rule.until = until;
    return rule;
}

void restoreRulesWithBothEnds(icalcomponent* root) {
    std::vector<icalproperty*> refused;
    for (icalproperty* p = icalcomponent_get_first_property(root, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(root, ICAL_XLICERROR_PROPERTY)) {
        const char* text = icalproperty_get_xlicerror(p);
        if (text && QByteArrayView(text).startsWith(kRefused))
            refused.push_back(p);
    }
    for (icalproperty* mark : refused) {
        const QByteArray value = QByteArray(icalproperty_get_xlicerror(mark)).mid(kRefused.size());
        const auto parts = bothEnds(value);
        if (!parts)
            continue;
        icalrecurrencetype rule = icalrecurrencetype_from_string(parts->withoutUntil.constData());
        const std::unique_ptr<char, decltype(&std::free)> rscale(rule.rscale, &std::free);
        const icaltimetype until = icaltime_from_string(parts->until.constData());
        if (rule.freq == ICAL_NO_RECURRENCE || icaltime_is_null_time(until) || !icaltime_is_valid_time(until))
            continue;
        icalproperty* rrule = icalproperty_new_rrule(rule);
        icalparameter* kept = icalparameter_new_x(parts->until.constData());
        icalparameter_set_xname(kept, kKeptUntil);
        icalproperty_add_parameter(rrule, kept);
        icalcomponent_add_property(root, rrule);
        icalcomponent_remove_property(root, mark);
        icalproperty_free(mark);
    }
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT))
        restoreRulesWithBothEnds(c);
}

QByteArray ruleTextOf(icalproperty* rrule) {
    char* value = icalproperty_get_value_as_string_r(rrule);
    QByteArray text(value ? value : "");
    icalmemory_free_buffer(value);
    const char* kept = icalproperty_get_parameter_as_string(rrule, kKeptUntil);
    if (kept && *kept && !text.toUpper().contains("UNTIL="))
        text += QByteArray(";UNTIL=") + kept;
    return text;
}

}  // namespace platform::vdir
