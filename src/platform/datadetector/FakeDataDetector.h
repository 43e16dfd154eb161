#pragma once

#include "platform/datadetector/DataDetector.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {

// Reports a link wherever one of its registered texts occurs.
class FakeDataDetector final : public DataDetector {
public:
    void addLink(const QString& text, const QUrl& url) { m_links.emplace_back(text, url); }

    std::vector<Match> matches(const QString& text, Kinds kinds) const override {
        std::vector<Match> result;
        if (!kinds.testFlag(Kind::link))
            return result;
        for (const auto& [needle, url] : m_links) {
            for (qsizetype at = text.indexOf(needle); at >= 0 && !needle.isEmpty();
                 at = text.indexOf(needle, at + needle.size()))
                result.push_back({Kind::link, {at, needle.size()}, url});
        }
        std::sort(result.begin(), result.end(),
                  [](const Match& a, const Match& b) { return a.range.location < b.range.location; });
        return result;
    }

private:
    std::vector<std::pair<QString, QUrl>> m_links;
};

}  // namespace platform
