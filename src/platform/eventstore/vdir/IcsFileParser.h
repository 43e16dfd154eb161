#pragma once

#include "platform/eventstore/vdir/IcsItem.h"

#include <QByteArray>

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

// Readies libical's shared state that it would otherwise create lazily from whichever thread came first.
void prepareLibical();

}  // namespace platform::vdir
