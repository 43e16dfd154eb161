#pragma once

#include "platform/images/ImageLoader.h"

#include <utility>
#include <vector>

namespace platform {

// Decodes the byte strings it was given, each to its own bitmap, and nothing else.
// Remembers the format of the last request.
class FakeImageLoader final : public ImageLoader {
public:
    void add(const QByteArray& bytes, Format format, LoadedImage image) {
        m_images.push_back({bytes, format, std::move(image)});
    }

    std::optional<LoadedImage> decode(const QByteArray& bytes, Format format) const override {
        m_lastFormat = format;
        for (const Entry& entry : m_images) {
            if (entry.bytes == bytes && entry.format == format)
                return entry.image;
        }
        return std::nullopt;
    }

    std::optional<Format> lastFormat() const { return m_lastFormat; }

private:
    struct Entry {
        QByteArray bytes;
        Format format;
        LoadedImage image;
    };
    std::vector<Entry> m_images;
    mutable std::optional<Format> m_lastFormat;
};

}  // namespace platform
