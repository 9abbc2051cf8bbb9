// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/frmabout.h"

#include "engine/texts.h"
#include "ui/classicstyle.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/twips.h"
#include "version.h"

#include <QLabel>
#include <QPushButton>

namespace volcanelle {

namespace {

// The caption under the game's name: the version's first two numbers and the release stage.
QString versionCaption()
{
    return QStringLiteral("Version %1.%2 RC 1").arg(version::kMajor).arg(version::kMinor);
}

void paintTextBlack(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    keepClassicLook(this);
    setWindowTitle(QStringLiteral("À propos du démineur"));
    // A plain window, not a dialog: on X11 a dialog without an owner is marked transient for
    // the whole program, and the window manager would keep it above the board.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(twipsRect(2640, 240, 1260, 345));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    lblDescription_ = addLabel(this, QStringLiteral("lblDescription"), QString(),
                               twipsRect(120, 1125, 5325, 1650), fonts::window());
    lblTitle_ = addLabel(this, QStringLiteral("lblTitle"), texts::gameTitle(),
                         twipsRect(810, 240, 1605, 480), fonts::aboutTitle());
    lblVersion_ = addLabel(this, QStringLiteral("lblVersion"), versionCaption(),
                           twipsRect(840, 780, 3885, 225), fonts::window());
    paintTextBlack(lblDescription_);
    paintTextBlack(lblTitle_);

    QWidget::setTabOrder(cmdOK_, lblDescription_);
    setGeometry(twips(2340), twips(1935), twips(5625), twips(3000));
    setFixedSize(twips(5625), twips(3000));
    Form_Load();
}

QString frmAbout::description()
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("Volcanelle, le démineur en duel, a été imaginé et programmé "
                                  "par Basalte et Obsidienne.") +
                   crlf;
    text += QStringLiteral("Vous pouvez jouer à 2, l'un contre l'autre. Le but du jeu est de faire "
                           "sauter le plus de mine possible ! Les chiffres, que vous voyez, "
                           "donnent le nombre de bombes présentes sur les cases environnantes.") +
            crlf + crlf;
    text += QStringLiteral("Auteurs : Basalte et Obsidienne") + crlf;
    text += QStringLiteral("Volcanelle, 2006. Bonnes parties à tous !");
    return text;
}

void frmAbout::Form_Load()
{
    lblDescription_->setText(description());
}

} // namespace volcanelle
