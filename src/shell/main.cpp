#include "core/Log.h"
#include "platform/singleinstance/SingleInstance.h"
#include "platform/systemevents/TerminationSignals.h"
#include "shell/AppDelegate.h"
#include "shell/LinuxPlatform.h"

#include <QApplication>
#include <QFileInfo>

namespace {

const QString kPrivacySettingsOption = QStringLiteral("--privacy-settings");

// Files handed over on the command line ("Open With"), made absolute so that
// a running instance with another working folder finds them. Options, known
// or not, are no files.
QStringList filesToOpen(const QStringList& arguments) {
    QStringList paths;
    for (const QString& argument : arguments.mid(1)) {
        if (!argument.startsWith(u'-'))
            paths << QFileInfo(argument).absoluteFilePath();
    }
    return paths;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orbitday"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orbitday"));
    QApplication::setApplicationVersion(QStringLiteral(ORBITDAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("orbitday"));
    // A tray application: closing a window never ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList files = filesToOpen(QApplication::arguments());
    // The launcher's "Privacy Settings" action.
    const bool privacySettings = QApplication::arguments().contains(kPrivacySettingsOption);
    platform::SingleInstance instance;
    if (instance.claim() == platform::SingleInstance::Role::another) {
        // The running instance imports one image at a time, the first it is handed:
        // the rest would only make the message longer, past what it accepts.
        const bool sent = instance.send(privacySettings   ? platform::InstanceMessage::privacySettings()
                                        : files.isEmpty() ? platform::InstanceMessage::reopen()
                                                          : platform::InstanceMessage::openFiles({files.first()}));
        if (!sent) {
            core::log(QStringLiteral("could not hand this launch's request to the running Orbitday at ") +
                      instance.socketPath());
            return 1;
        }
        return 0;
    }

    // Ended by the session or a terminal, the app quits as from its menu, so that
    // what waits to be written is written.
    const platform::TerminationSignals terminationSignals;
    const app::LinuxPlatform platform;
    app::AppDelegate delegate(platform.services());
    QObject::connect(&instance, &platform::SingleInstance::messageReceived, &delegate,
                     &app::AppDelegate::handleMessage);
    delegate.applicationDidFinishLaunching();
    delegate.openFiles(files);
    if (privacySettings)
        delegate.openPrivacySettings();
    return QApplication::exec();
}
