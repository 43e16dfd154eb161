#include "platform/loginitem/AutostartLoginItem.h"

#include "core/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace platform {
namespace {

// The desktop file's id: the same as the app's own entry, so that the desktop
// shows our name and icon in its list of startup programs.
constexpr auto kEntryName = u"orbitday.desktop";

// One argument of an Exec line: quoted, with the characters that stay special
// inside quotes escaped, and a percent sign doubled so that it is no field code.
QString execArgument(const QString& argument) {
    QString quoted = u"\""_s;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    return quoted + u'"';
}

// A value of a desktop entry: a backslash, and the line breaks and tabs that
// would end or mangle the line, are written as escapes.
QString entryValue(const QString& value) {
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
            case u'\\':
                escaped += u"\\\\"_s;
                break;
            case u'\n':
                escaped += u"\\n"_s;
                break;
            case u'\r':
                escaped += u"\\r"_s;
                break;
            case u'\t':
                escaped += u"\\t"_s;
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

AutostartLoginItem::AutostartLoginItem(QString folder, QString executable)
    : m_folder(std::move(folder)), m_executable(std::move(executable)) {}

QString AutostartLoginItem::standardFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/autostart"_s;
}

QString AutostartLoginItem::entryPath() const {
    return m_folder + u'/' + QStringView(kEntryName);
}

QByteArray AutostartLoginItem::entryFor(const QString& executable) {
    const QString text = u"[Desktop Entry]\n"
                         u"Type=Application\n"
                         u"Name=Orbitday\n"
                         u"Comment=Today, your calendar and quick add, from the tray\n"
                         u"Exec="_s +
                         entryValue(execArgument(executable)) +
                         u"\n"
                         u"Icon=x-office-calendar\n"
                         u"Terminal=false\n"
                         u"X-GNOME-Autostart-enabled=true\n"_s;
    return text.toUtf8();
}

bool AutostartLoginItem::entryIsOn(const QByteArray& entry) {
    bool inMainGroup = false;
    for (const QByteArray& rawLine : entry.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return false;
    }
    return true;
}

bool AutostartLoginItem::isEnabled() const {
    const core::RegularFileRead read = core::readRegularFile(QFile::encodeName(entryPath()), kMaxEntryBytes);
    return read.ok() && entryIsOn(read.data);
}

std::optional<QString> AutostartLoginItem::setEnabled(bool enabled) {
    return enabled ? writeEntry() : removeEntry();
}

std::optional<QString> AutostartLoginItem::writeEntry() const {
    const QFileInfo folder(m_folder);
    if (folder.exists() && !folder.isDir())
        return u"%1 is not a folder"_s.arg(QDir::toNativeSeparators(m_folder));
    errno = 0;
    if (!QDir().mkpath(m_folder))
        return u"the folder %1 could not be made (%2)"_s.arg(QDir::toNativeSeparators(m_folder), systemError(errno));
    QSaveFile file(entryPath());
    const QByteArray entry = entryFor(m_executable);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry) != entry.size() || !file.flush() || !file.commit())
        return file.errorString();
    return std::nullopt;
}

std::optional<QString> AutostartLoginItem::removeEntry() const {
    const QFileInfo entry(entryPath());
    if (!entry.exists() && !entry.isSymLink())
        return std::nullopt;
    QFile file(entryPath());
    if (entry.isDir() || !file.remove())
        return entry.isDir() ? u"%1 is a folder"_s.arg(QDir::toNativeSeparators(entryPath())) : file.errorString();
    return std::nullopt;
}

}  // namespace platform
