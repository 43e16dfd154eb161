#include "core/ZoneFiles.h"

#include "core/RegularFile.h"

#include <QDir>
#include <QFileInfo>

namespace core::zonefiles {
namespace {

// Zone files are a few kilobytes.
constexpr qint64 kZoneFileLimit = 1024 * 1024;

std::optional<QString> findByContents(const QString& folder, const QString& prefix, const QByteArray& contents) {
    const QDir dir(folder);
    // Area/City names first; the folders of variant files would give the same zone a second name.
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name)) {
        if (prefix.isEmpty() && (sub == QLatin1String("posix") || sub == QLatin1String("right")))
            continue;
        if (auto found = findByContents(dir.filePath(sub), prefix + sub + QLatin1Char('/'), contents))
            return found;
    }
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name)) {
        if (file.size() != contents.size())
            continue;
        if (readRegularFile(file.filePath(), kZoneFileLimit) == contents)
            return prefix + file.fileName();
    }
    return std::nullopt;
}

}  // namespace

QString folder() {
    return QStringLiteral("/usr/share/zoneinfo");
}

bool isZoneId(const QString& id) {
    if (id.isEmpty())
        return false;
    for (QStringView part : QStringView(id).split(u'/')) {
        if (part.isEmpty() || part == u"." || part == u"..")
            return false;
    }
    return true;
}

std::optional<QByteArray> contentsOf(const QString& zoneId) {
    if (!isZoneId(zoneId))
        return std::nullopt;
    return readRegularFile(folder() + QLatin1Char('/') + zoneId, kZoneFileLimit);
}

std::optional<QString> identify(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.symLinkTarget();
        const qsizetype at = target.lastIndexOf(QLatin1String("zoneinfo/"));
        if (at >= 0)
            return target.mid(at + 9);
    }
    const std::optional<QByteArray> contents = readRegularFile(path, kZoneFileLimit);
    if (!contents || !contents->startsWith("TZif"))
        return std::nullopt;
    if (const auto named = readRegularFile(info.dir().filePath(QStringLiteral("timezone")), 1024)) {
        const QString id = QString::fromUtf8(*named).section(QLatin1Char('\n'), 0, 0).trimmed();
        if (contentsOf(id) == contents)
            return id;
    }
    return findByContents(folder(), QString(), *contents);
}

}  // namespace core::zonefiles
