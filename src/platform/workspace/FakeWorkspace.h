#pragma once

#include "platform/workspace/Workspace.h"

#include <QList>
#include <QStringList>

namespace platform {

// Records what was opened and copied; Alt is held when a test says so.
class FakeWorkspace : public Workspace {
public:
    bool open(const QUrl& url) override {
        opened << url;
        return acceptsOpen;
    }
    void copyToClipboard(const QString& text) override { copied << text; }
    bool isAltHeld() const override { return altHeld; }

    QList<QUrl> opened;
    QStringList copied;
    bool altHeld = false;
    bool acceptsOpen = true;
};

}  // namespace platform
