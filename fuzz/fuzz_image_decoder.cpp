// The image decoder over any bank pair: the first 2048 bytes are bank 1,
// the rest bank 2. It must finish with a result, and its reports must stay
// within a small multiple of the input.

#include "cli/image_report.h"
#include "core/image/image_decoder.h"
#include "fuzz_support.h"

#include <QJsonDocument>

using namespace mirandel;
using mirandel::cli::imageReport;
using mirandel::cli::imageToJson;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const QByteArray bank1 = input.left(2048);
    const std::optional<QByteArray> bank2 = input.size() > 2048 ? std::optional(input.mid(2048)) : std::nullopt;
    const DecodedImage image = decodeImage(bank1, bank2);
    const QString report = imageReport(image);
    const QByteArray json = QJsonDocument(imageToJson(image)).toJson();
    FUZZ_ASSERT(report.size() < 200000 + 4 * input.size());
    FUZZ_ASSERT(json.size() < 400000 + 8 * input.size());
    return 0;
}
