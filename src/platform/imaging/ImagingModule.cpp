#include "platform/imaging/ImagingModule.h"

#include "core/Log.h"
#include "platform/imaging/ModuleFunctions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <atomic>
#include <mutex>

using namespace Qt::Literals::StringLiterals;

namespace platform::imaging {
namespace {

constexpr auto kFileName = "orbitday-imaging.so"_L1;

// Beside the executable first (the application as built or installed), then where
// this build put it (tests and benchmarks run from folders of their own).
QStringList candidates() {
    QStringList paths;
    if (QCoreApplication::instance())
        paths << QCoreApplication::applicationDirPath() + u'/' + kFileName;
    paths << QStringLiteral(ORBITDAY_IMAGING_MODULE);
    return paths;
}

// The module's table, or null when it cannot be loaded.
const ModuleFunctions* loaded() {
    static const ModuleFunctions* result = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        QStringList reasons;
        for (const QString& path : candidates()) {
            if (!QFileInfo::exists(path))
                continue;
            // Never unloaded: what it made (recognizers, their threads) lives as long
            // as the process.
            QLibrary library(path);
            library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
            using Entry = const ModuleFunctions* (*)();
            const auto entry = reinterpret_cast<Entry>(library.resolve(kModuleEntry));
            if (!entry) {
                reasons << library.errorString();
                continue;
            }
            const ModuleFunctions* functions = entry();
            if (!functions || functions->version != kModuleFunctionsVersion) {
                reasons << path + u": made by another build"_s;
                continue;
            }
            result = functions;
            return;
        }
        core::log(u"images cannot be read: "_s +
                  (reasons.isEmpty() ? u"%1 is missing"_s.arg(kFileName) : reasons.join(u"; "_s)));
    });
    return result;
}

class ModuleTextRecognizer final : public TextRecognizer {
public:
    RecognitionResult recognize(const LoadedImage& image, std::stop_token stop) const override {
        if (const TextRecognizer* recognizer = made())
            return recognizer->recognize(image, std::move(stop));
        return RecognitionError{u"Text recognition is not available."_s};
    }

    void prepare() const override {
        if (const TextRecognizer* recognizer = made())
            recognizer->prepare();
    }

    // Nothing to let go of before the module's recognizer was made: it is not loaded for that.
    void release() const override {
        if (const TextRecognizer* recognizer = m_made.load(std::memory_order_acquire))
            recognizer->release();
    }

private:
    const TextRecognizer* made() const {
        std::call_once(m_once, [this] {
            if (const ModuleFunctions* functions = loaded())
                m_recognizer.reset(functions->makeTextRecognizer());
            m_made.store(m_recognizer.get(), std::memory_order_release);
        });
        return m_recognizer.get();
    }

    mutable std::once_flag m_once;
    mutable std::unique_ptr<TextRecognizer> m_recognizer;
    mutable std::atomic<const TextRecognizer*> m_made = nullptr;
};

}  // namespace

QImage decodeHeif(const QByteArray& bytes, int longest) {
    const ModuleFunctions* functions = loaded();
    return functions ? functions->decodeHeif(bytes, longest) : QImage();
}

QImage renderFirstPdfPage(const QByteArray& bytes, int longest) {
    const ModuleFunctions* functions = loaded();
    return functions ? functions->renderFirstPdfPage(bytes, longest) : QImage();
}

std::unique_ptr<TextRecognizer> makeTextRecognizer() {
    return std::make_unique<ModuleTextRecognizer>();
}

}  // namespace platform::imaging
