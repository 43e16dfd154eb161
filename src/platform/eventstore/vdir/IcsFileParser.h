#pragma once

#include "platform/eventstore/vdir/IcsItem.h"

#include <QByteArray>

struct icalcomponent_impl;

namespace platform::vdir {

class IcsZoneResolver;
struct IcsPreflight;

// Turns the bytes of one .ics file into plain values. Never throws; a file it cannot use comes back with
// `problem` set. Safe to run on several threads at once with one shared resolver.
class IcsFileParser {
public:
    explicit IcsFileParser(IcsZoneResolver& zones);

    IcsFile parse(const QByteArray& data) const;

private:
    IcsFile parseWhole(const IcsPreflight& preflight) const;

    IcsZoneResolver& m_zones;
};

// Removes libical's error marks for plain text properties written with nothing in them (LOCATION:, as some exports
// write): libical dropped the property, and read as absent it loses nothing. Other empty values stay damage.
void forgetEmptyTextProperties(icalcomponent_impl* root);

// Readies libical's shared state that it would otherwise create lazily from whichever thread came first.
void prepareLibical();

}  // namespace platform::vdir
