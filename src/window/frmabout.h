// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace volcanelle {

/// The information window: the game's title, its version and what it is about. Modeless;
/// OK, Enter and Escape close and destroy it.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    /// The description, five lines joined by CR LF.
    static QString description();

private:
    void Form_Load();

    QPushButton* cmdOK_;
    QLabel* lblDescription_;
    QLabel* lblTitle_;
    QLabel* lblVersion_;
};

} // namespace volcanelle
