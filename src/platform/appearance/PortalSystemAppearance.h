#pragma once

#include "platform/appearance/SystemAppearance.h"

#include <QDBusConnection>
#include <QDBusVariant>
#include <QVariant>

#include <optional>

namespace platform {

// Reads the desktop portal's settings (colour scheme, contrast, reduced motion,
// and the GNOME animations switch) and follows their changes. What the portal
// does not say (no portal, or "no preference") comes from the application
// palette: a dark window colour means a dark desktop.
class PortalSystemAppearance : public SystemAppearance {
    Q_OBJECT

public:
    explicit PortalSystemAppearance(QObject* parent = nullptr);
    PortalSystemAppearance(const QDBusConnection& bus, QObject* parent = nullptr);

    State state() const override { return m_state; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void onSettingChanged(const QString& nameSpace, const QString& key, const QDBusVariant& value);

private:
    void requestAll();
    void take(const QString& nameSpace, const QString& key, const QVariant& value);
    void publish();
    State computeState() const;

    QDBusConnection m_bus;
    // As the portal last said; nullopt when it has not, or said something unusable.
    std::optional<unsigned> m_colorScheme;
    std::optional<unsigned> m_contrast;
    std::optional<unsigned> m_reducedMotion;
    std::optional<bool> m_enableAnimations;
    State m_state;
};

}  // namespace platform
