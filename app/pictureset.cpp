#include "pictureset.h"

namespace volcanelle {

PictureSet::PictureSet()
{
    for (int entry = 1; entry <= kPictureCount; ++entry)
        pixmaps_[static_cast<std::size_t>(entry)] =
            QPixmap(QStringLiteral(":/pictures/%1.jpg").arg(entry));
}

const QPixmap& PictureSet::pixmap(Picture picture) const
{
    return pixmaps_[static_cast<std::size_t>(pictureNumber(picture))];
}

} // namespace volcanelle
