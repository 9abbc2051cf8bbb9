// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace volcanelle {

/// The picture of a cell. Once its cover is lifted it can hold the keyboard focus, so that a
/// player can read the numbers around a covered cell; it then wears the covers' focus frame.
class CellPicture : public QLabel {
    Q_OBJECT
public:
    explicit CellPicture(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace volcanelle
