#include "platform/images/ImageDecoders.h"

#include "platform/images/ImageLoader.h"
#include "platform/images/QtImages.h"

#include <libheif/heif.h>

#include <memory>
#include <mutex>

namespace platform::images {
namespace {

// libheif's plug-ins are loaded once for the life of the process.
void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

template <typename T, void (*Free)(T*)>
struct HeifDeleter {
    void operator()(T* p) const { Free(p); }
};
using Context = std::unique_ptr<heif_context, HeifDeleter<heif_context, heif_context_free>>;
using Handle = std::unique_ptr<heif_image_handle, HeifDeleter<const heif_image_handle, heif_image_handle_release>>;
using Image = std::unique_ptr<heif_image, HeifDeleter<const heif_image, heif_image_release>>;

}  // namespace

QImage decodeHeif(const QByteArray& bytes, int longest) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    if (bytes.size() < 12 || heif_check_filetype(data, static_cast<int>(bytes.size())) != heif_filetype_yes_supported)
        return {};
    initialiseOnce();
    Context context(heif_context_alloc());
    if (!context ||
        heif_context_read_from_memory_without_copy(context.get(), data, static_cast<size_t>(bytes.size()), nullptr).code !=
            heif_error_Ok)
        return {};
    heif_image_handle* rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return {};
    const Handle handle(rawHandle);
    const qint64 pixels =
        static_cast<qint64>(heif_image_handle_get_width(handle.get())) * heif_image_handle_get_height(handle.get());
    if (pixels <= 0 || pixels > ImageLoader::kMaxSourcePixels)
        return {};

    // Rotation and mirroring stored with the image are applied while decoding.
    heif_image* rawImage = nullptr;
    if (heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr).code !=
        heif_error_Ok)
        return {};
    const Image image(rawImage);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!plane || width <= 0 || height <= 0 || stride < width * 4)
        return {};
    // Wraps libheif's buffer, which the copy made by the conversion outlives.
    const QImage wrapped(plane, width, height, stride, QImage::Format_RGBA8888);
    return boundedTo(wrapped.convertToFormat(QImage::Format_ARGB32_Premultiplied), longest);
}

}  // namespace platform::images
