#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace perumina {

// Loads the picture at path by its content, whatever its name ends in (the client stores
// bitmaps as ".jpg"). Nothing when the file is missing or is no picture.
std::optional<QImage> loadPicture(const QString &path);

} // namespace perumina
