#include "platform/imaging/ModuleFunctions.h"
#include "platform/images/ImageDecoders.h"
#include "platform/textrecognition/TesseractRecognizer.h"

using platform::imaging::ModuleFunctions;

extern "C" __attribute__((visibility("default"))) const ModuleFunctions* orbitday_imaging_functions() {
    static const ModuleFunctions functions{
        platform::imaging::kModuleFunctionsVersion,
        &platform::images::decodeHeif,
        &platform::images::renderFirstPdfPage,
        []() -> platform::TextRecognizer* { return new platform::TesseractRecognizer(); },
    };
    return &functions;
}
