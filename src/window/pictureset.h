// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/picture.h"

#include <QPixmap>
#include <array>

namespace volcanelle {

/// The ten pictures of the picture set, loaded once from the compiled-in resources (with
/// their double-size versions when a screen has more than one pixel per logical pixel).
class PictureSet {
public:
    PictureSet();
    /// The pixmap of an entry; an empty pixmap for Picture::None.
    const QPixmap& pixmap(Picture picture) const;

private:
    std::array<QPixmap, kPictureCount + 1> pixmaps_;
};

} // namespace volcanelle
