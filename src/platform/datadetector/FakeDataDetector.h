#pragma once

#include "platform/datadetector/DataDetector.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {

// Reports a match wherever one of its registered texts occurs, as the kind it was
// registered with.
class FakeDataDetector final : public DataDetector {
public:
    void addLink(const QString& text, const QUrl& url) { m_entries.push_back({text, {Kind::link, {}, url}}); }
    void addDate(const QString& text, core::Date date, std::optional<core::TimeZone> zone = std::nullopt) {
        m_entries.push_back({text, {Kind::date, {}, QUrl(), date, std::move(zone)}});
    }
    void addAddress(const QString& text) { m_entries.push_back({text, {Kind::address, {}}}); }

    std::vector<Match> matches(const QString& text, Kinds kinds) const override {
        std::vector<Match> result;
        for (const auto& [needle, match] : m_entries) {
            if (!kinds.testFlag(match.kind) || needle.isEmpty())
                continue;
            for (qsizetype at = text.indexOf(needle); at >= 0; at = text.indexOf(needle, at + needle.size())) {
                Match found = match;
                found.range = {at, needle.size()};
                result.push_back(found);
            }
        }
        std::stable_sort(result.begin(), result.end(),
                         [](const Match& a, const Match& b) { return a.range.location < b.range.location; });
        return result;
    }

private:
    struct Entry {
        QString text;
        Match match;
    };
    std::vector<Entry> m_entries;
};

}  // namespace platform
