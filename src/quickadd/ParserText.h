#pragma once

#include "model/EventLength.h"

#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

namespace quickadd {

// A fixed word list with a value per word, compared exactly (the parser passes
// lowercased words). A few dozen entries at most, so a scan beats hashing.
template <typename T, std::size_t N>
struct WordTable {
    struct Entry {
        QStringView word;
        T value;
    };
    std::array<Entry, N> entries;

    std::optional<T> find(QStringView word) const {
        for (const Entry& entry : entries) {
            if (entry.word == word)
                return entry.value;
        }
        return std::nullopt;
    }
};

// A word list without values.
template <std::size_t N>
struct WordSet {
    std::array<QStringView, N> words;
    bool contains(QStringView word) const {
        for (const QStringView w : words) {
            if (w == word)
                return true;
        }
        return false;
    }
};

inline constexpr double kLongestDuration = model::kLongestEventLength;

// An optional "+" or "-" and ASCII digits, nothing else, within 64 bits.
std::optional<qint64> decimalInteger(QStringView text);

}  // namespace quickadd
