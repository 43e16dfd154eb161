#pragma once

#include "platform/workspace/Workspace.h"

#include <QObject>

namespace platform {

// Opens addresses through the desktop's handlers; our own privacy-settings
// addresses are announced instead, for the app to show its window.
class LinuxWorkspace : public QObject, public Workspace {
    Q_OBJECT

public:
    using QObject::QObject;

    bool open(const QUrl& url) override;
    void copyToClipboard(const QString& text) override;
    bool isAltHeld() const override;

signals:
    void privacySettingsRequested(platform::EntityType pane);
};

}  // namespace platform
