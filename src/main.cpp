#include "core/Log.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbitday"));
    QApplication::setOrganizationName(QStringLiteral("Orbitday"));
    QApplication::setQuitOnLastWindowClosed(false);
    core::log(QStringLiteral("the application shell is not built yet; exiting"));
    return 0;
}
