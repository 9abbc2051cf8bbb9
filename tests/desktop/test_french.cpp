// SPDX-License-Identifier: GPL-3.0-or-later
// On a system in the plain C language the game still speaks French: the date in the status
// bar, its own question boxes, and the texts that Qt itself supplies.

#include "duelboard.h"
#include "ui/application.h"
#include "window/demin.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace volcanelle;
using namespace volcanelle::testing;

class TestFrench : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The test means nothing unless the system itself is not French.
        QCOMPARE(QLocale::system().language(), QLocale::C);
        prepareApplication();
    }

    void defaultLocaleIsFrenchFrance()
    {
        QCOMPARE(QLocale().language(), QLocale::French);
        QCOMPARE(QLocale().territory(), QLocale::France);
    }

    void statusBarDateIsFrenchShortForm()
    {
        FixedDraws draws(mineRowsBoard());
        ModalAnswerer answerer;
        const QDate before = QDate::currentDate();
        demin window(&draws);
        QVERIFY(startShown(window, answerer));
        const QDate after = QDate::currentDate();

        // Day first, then month, with the year in full: 08/12/2026.
        const QString shown = window.findChild<QLabel*>(QStringLiteral("Panel1"))->text();
        const QString pattern = QStringLiteral("dd/MM/yyyy");
        QVERIFY2(shown == before.toString(pattern) || shown == after.toString(pattern),
                 qPrintable(shown));
    }

    void questionBoxAnswersOuiOrNon()
    {
        FixedDraws draws(mineRowsBoard());
        demin window(&draws);
        {
            // Gone before the question, which is read and answered here.
            ModalAnswerer answerer;
            QVERIFY(startShown(window, answerer));
        }

        QStringList buttons;
        QString defaultButton;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, &window, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            if (box->defaultButton())
                defaultButton = box->defaultButton()->text();
            // Close it here whatever was read, so that the question returns.
            if (QAbstractButton* no = box->button(QMessageBox::No))
                no->click();
            else
                box->done(0);
        });
        poll.start();
        window.Command1_Click(); // "Quitter" asks first; "Non" keeps the game going
        poll.stop();

        buttons.sort();
        QCOMPARE(buttons, QStringList({QStringLiteral("Non"), QStringLiteral("Oui")}));
        QCOMPARE(defaultButton, QStringLiteral("Non"));
        QVERIFY(window.isVisible());
    }

    void qtOwnTextsAreFrench()
    {
        // Texts the game never sets itself: an edit field's context menu and the standard
        // buttons of a box.
        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList actions;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                actions << action->text().section(u'\t', 0, 0); // without the shortcut
        QVERIFY2(actions.contains(QStringLiteral("&Annuler")), qPrintable(actions.join(u'|')));
        QVERIFY2(actions.contains(QStringLiteral("Co&uper")), qPrintable(actions.join(u'|')));

        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("x"),
                        QMessageBox::Cancel | QMessageBox::Yes);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Annuler"));
    }
};

QTEST_MAIN(TestFrench)
#include "test_french.moc"
