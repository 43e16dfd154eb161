#include "platform/workspace/LinuxWorkspace.h"

#include "core/Log.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>

namespace platform {

bool LinuxWorkspace::open(const QUrl& url) {
    if (const auto pane = privacySettingsPane(url)) {
        emit privacySettingsRequested(*pane);
        return true;
    }
    // Nothing else on the desktop knows our scheme; handing it on could only fail
    // or reach a stranger that registered it.
    if (!url.isValid() || isOwnAddress(url))
        return false;
    if (!QDesktopServices::openUrl(url)) {
        core::log(QStringLiteral("nothing on this desktop opens ") + url.scheme() + QStringLiteral(" addresses"));
        return false;
    }
    return true;
}

void LinuxWorkspace::copyToClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

bool LinuxWorkspace::isAltHeld() const {
    // The state at this moment, not that of the event being handled: a click
    // delivered late must not miss an Alt released meanwhile, or the reverse.
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
}

}  // namespace platform
