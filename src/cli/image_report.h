#pragma once
// How `inspect` prints a decoded configuration image: as a readable report
// or as JSON.

#include "core/image/image_decoder.h"

#include <QJsonObject>
#include <QString>

namespace mirandel::cli {

// A readable multi-line report of a decoded image, ending with its issues.
QString imageReport(const DecodedImage &image);

// The decoded image as a JSON object (banks, fields, texts, issues).
QJsonObject imageToJson(const DecodedImage &image);

} // namespace mirandel::cli
