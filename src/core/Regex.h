#pragma once

#include <unicode/uversion.h>

#include <QFlags>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace core {

// A range in UTF-16 code units, so it indexes a QString directly.
struct TextRange {
    qsizetype location = -1;  // -1: the group did not take part in the match
    qsizetype length = 0;
    bool isValid() const { return location >= 0; }
    qsizetype end() const { return location + length; }
    bool operator==(const TextRange&) const = default;
};

class RegexMatch {
public:
    RegexMatch(QString text, std::vector<TextRange> groups);
    TextRange range(int group = 0) const;
    // The text of a group; empty when the group did not take part.
    QString captured(int group = 0) const;
    int groupCount() const { return static_cast<int>(m_groups.size()) - 1; }

private:
    QString m_text;
    std::vector<TextRange> m_groups;
};

// An ICU regular expression, compiled once. Safe to use from several threads at once.
class Regex {
public:
    enum class Option { CaseInsensitive = 0x1, Multiline = 0x2, DotMatchesLineSeparators = 0x4, Comments = 0x8 };
    Q_DECLARE_FLAGS(Options, Option)

    explicit Regex(const QString& pattern, Options options = {});
    ~Regex();
    Regex(Regex&&) noexcept;
    Regex& operator=(Regex&&) noexcept;

    bool isValid() const { return m_pattern != nullptr; }
    QString errorString() const { return m_error; }
    QString pattern() const { return m_source; }

    std::optional<RegexMatch> firstMatch(const QString& text, qsizetype from = 0) const;
    std::vector<RegexMatch> allMatches(const QString& text) const;
    bool matches(const QString& text) const { return firstMatch(text).has_value(); }
    // True when the whole text matches.
    bool matchesEntirely(const QString& text) const;
    // Replaces every match; "$1" in the replacement refers to a group.
    QString replaceAll(const QString& text, const QString& replacement) const;

private:
    std::unique_ptr<icu::RegexPattern> m_pattern;
    QString m_source;
    QString m_error;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Regex::Options)

}  // namespace core
