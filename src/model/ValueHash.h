#pragma once

#include <QHashFunctions>

#include <optional>
#include <type_traits>
#include <vector>

namespace model_hash_detail {

// Outside namespace model, so that model's own qHash overloads do not hide Qt's;
// those of model values are still found through their argument's namespace.
template <typename T>
size_t hashOf(const T& value) {
    if constexpr (std::is_enum_v<T>) {
        return qHash(static_cast<std::underlying_type_t<T>>(value), 0);
    } else {
        return qHash(value, 0);
    }
}

}  // namespace model_hash_detail

namespace model {

// Combines the hashes of a value's fields in declaration order. Absent optionals
// and list lengths take part, so (nil, x) and (x, nil) hash apart.
class ValueHasher {
public:
    explicit ValueHasher(size_t hashSeed) : m_seed(hashSeed) {}

    template <typename T>
    ValueHasher& add(const T& value) {
        mix(model_hash_detail::hashOf(value));
        return *this;
    }

    template <typename T>
    ValueHasher& add(const std::optional<T>& value) {
        mix(value.has_value() ? 1u : 0u);
        if (value) {
            add(*value);
        }
        return *this;
    }

    template <typename T>
    ValueHasher& add(const std::vector<T>& values) {
        mix(values.size());
        for (const T& value : values) {
            add(value);
        }
        return *this;
    }

    size_t result() const { return m_seed; }

private:
    void mix(size_t hash) { m_seed ^= hash + 0x9e3779b9 + (m_seed << 6) + (m_seed >> 2); }
    size_t m_seed;
};

}  // namespace model
