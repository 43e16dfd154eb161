#pragma once

#include "platform/statusitem/StatusItem.h"

namespace platform {

// A tray item that remembers what it was given and is clicked by the test.
class FakeStatusItem : public StatusItem {
    Q_OBJECT

public:
    using StatusItem::StatusItem;

    void setContent(const StatusItemContent& content) override {
        m_content = content;
        ++m_updates;
    }
    const StatusItemContent& content() const override { return m_content; }
    std::optional<QRectF> geometry() const override { return m_geometry; }

    void setGeometry(std::optional<QRectF> geometry) { m_geometry = geometry; }
    void click(std::optional<QPointF> at = std::nullopt) { emit activated(at); }
    int updateCount() const { return m_updates; }

private:
    StatusItemContent m_content;
    std::optional<QRectF> m_geometry;
    int m_updates = 0;
};

}  // namespace platform
