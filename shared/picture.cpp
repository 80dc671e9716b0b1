#include "shared/picture.h"

#include "shared/paths.h"

#include <QImageReader>

namespace perumina {

std::optional<QImage> loadPicture(const QString &systemPath)
{
    QImageReader reader(mapPath(systemPath));
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

} // namespace perumina
