#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>
#include <variant>

class QMimeData;

namespace imageimport {

// What a drag over the popover holds, as its drop zone shows it.
enum class ImageDropHover { none, image, notImage };

// What the user offered for import: a file, raw bytes from the clipboard or a drop,
// or something that is not an image at all.
class ImageImportInput {
public:
    struct File {
        QUrl url;
        bool operator==(const File&) const = default;
    };
    struct Data {
        QByteArray bytes;
        bool operator==(const Data&) const = default;
    };
    // What the clipboard holds in an image format, read when the import runs, off the
    // main thread: a large image takes its owner long to hand over.
    struct Clipboard {
        QString format;
        bool operator==(const Clipboard&) const = default;
    };
    struct Unsupported {
        // What it was, as a name to show: a file name or a suggested name.
        std::optional<QString> name;
        bool operator==(const Unsupported&) const = default;
    };
    using Value = std::variant<File, Data, Clipboard, Unsupported>;

    static ImageImportInput file(const QUrl& url) { return ImageImportInput(File{url}); }
    static ImageImportInput data(const QByteArray& bytes) { return ImageImportInput(Data{bytes}); }
    static ImageImportInput clipboard(const QString& format) { return ImageImportInput(Clipboard{format}); }
    static ImageImportInput unsupported(std::optional<QString> name = std::nullopt) {
        return ImageImportInput(Unsupported{std::move(name)});
    }

    const Value& value() const { return m_value; }

    // Whether the file is an image or a PDF: by its content type, or failing that by
    // its extension. A file with neither is not accepted. An address whose path holds a
    // control character is accepted unlooked-at, to fail as unreadable when read.
    static bool isAccepted(const QUrl& url);

    // What a paste offers: its first file when it has files (image data beside them
    // is not looked at), else its image bytes, PNG, TIFF, JPEG, HEIC, any other
    // image type, then PDF; nothing when it has neither. Never decodes.
    static std::optional<ImageImportInput> fromPasteboard(const QMimeData& mime);
    // The same, with the image bytes left on the clipboard: their format only, for the
    // import to read.
    static std::optional<ImageImportInput> fromClipboard(const QMimeData& mime);
    // Whether a paste holds what fromPasteboard() turns into a file or bytes to read.
    static bool pasteboardHasImage(const QMimeData& mime);
    // What a drop offers: as a paste, but bytes in the order PNG, JPEG, HEIC, TIFF,
    // any other image type, PDF; what is none of these is unsupported, named when it
    // carried an address. Nothing only for a drop without any format.
    static std::optional<ImageImportInput> fromDrop(const QMimeData& mime);
    // How the drop zone shows a drag: whether its drop would be read.
    static ImageDropHover dropHover(const QMimeData& mime);

    bool operator==(const ImageImportInput&) const = default;

private:
    explicit ImageImportInput(Value value) : m_value(std::move(value)) {}
    Value m_value;
};

// Why an import failed, with the text the failure screen shows.
class ImageImportError {
public:
    enum class Kind { notAnImage, unreadable };

    // `name` names what was offered (a file's last path component); it is not shown.
    static ImageImportError notAnImage(std::optional<QString> name = std::nullopt) {
        return {Kind::notAnImage, std::move(name)};
    }
    // An accepted input that does not decode or render.
    static ImageImportError unreadable() { return {Kind::unreadable, std::nullopt}; }

    Kind kind() const { return m_kind; }
    const std::optional<QString>& name() const { return m_name; }
    QString description() const;

    bool operator==(const ImageImportError&) const = default;

private:
    ImageImportError(Kind kind, std::optional<QString> name) : m_kind(kind), m_name(std::move(name)) {}
    Kind m_kind;
    std::optional<QString> m_name;
};

}  // namespace imageimport
