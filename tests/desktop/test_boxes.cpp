// SPDX-License-Identifier: GPL-3.0-or-later
// The boxes a network side shows without waiting for them: as modal as the others, with the
// same buttons, the caller going on at once and the answer coming from the event loop once
// the click that closed the box is over; nothing comes once the asker is gone.

#include "ui/dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace volcanelle;

namespace {

QMessageBox* openMessageBox()
{
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

QAbstractButton* buttonNamed(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* button : box->buttons())
        if (button->text() == text)
            return button;
    return nullptr;
}

} // namespace

class TestBoxes : public QObject {
    Q_OBJECT
private slots:
    void answersComeFromTheEventLoop()
    {
        QObject asker;
        std::optional<bool> answer;
        dialogs::confirmLater(nullptr, QStringLiteral("Quitter ?"), QStringLiteral("Quitter"),
                              &asker, [&](bool yes) { answer = yes; });
        QVERIFY(!answer); // the caller went on
        QTRY_VERIFY(openMessageBox() && openMessageBox()->isVisible());
        QMessageBox* box = openMessageBox();
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
        QCOMPARE(box->defaultButton()->text(), QStringLiteral("Non"));
        QAbstractButton* yes = buttonNamed(box, QStringLiteral("Oui"));
        QVERIFY(yes);
        yes->click();
        QVERIFY(!answer); // not inside the click, as code after exec() would not be
        QTRY_COMPARE(answer, std::optional<bool>(true));

        // Escape is "Non"; the typed text comes back as typed; a cancelled input is nothing.
        answer.reset();
        dialogs::confirmLater(nullptr, QStringLiteral("Quitter ?"), QStringLiteral("Quitter"),
                              &asker, [&](bool yes) { answer = yes; });
        QTRY_VERIFY(openMessageBox() && openMessageBox()->isVisible());
        QTest::keyClick(openMessageBox(), Qt::Key_Escape);
        QTRY_COMPARE(answer, std::optional<bool>(false));

        std::optional<std::optional<QString>> typed;
        const auto ask = [&] {
            typed.reset();
            dialogs::askTextLater(nullptr, QStringLiteral("Nombre de mines ?"),
                                  QStringLiteral("Démineur"), 3, &asker,
                                  [&](std::optional<QString> text) { typed = text; });
        };
        ask();
        QTRY_VERIFY(qobject_cast<QInputDialog*>(QApplication::activeModalWidget()));
        auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        input->findChild<QLineEdit*>()->setText(QStringLiteral("12345"));
        input->accept();
        QTRY_VERIFY(typed.has_value());
        QCOMPARE(*typed, std::optional<QString>(QStringLiteral("123")));
        ask();
        QTRY_VERIFY(qobject_cast<QInputDialog*>(QApplication::activeModalWidget()));
        qobject_cast<QInputDialog*>(QApplication::activeModalWidget())->reject();
        QTRY_VERIFY(typed.has_value());
        QCOMPARE(*typed, std::optional<QString>());
    }

    void nothingComesOnceTheAskerIsGone()
    {
        auto asker = std::make_unique<QObject>();
        bool heard = false;
        dialogs::announceLater(nullptr, QStringLiteral("Fin"), QStringLiteral("Démineur"),
                               asker.get(), [&] { heard = true; });
        QTRY_VERIFY(openMessageBox() && openMessageBox()->isVisible());
        QPointer<QMessageBox> box = openMessageBox();
        asker.reset();
        buttonNamed(box, QStringLiteral("OK"))->click();
        QTRY_VERIFY(!box); // the box went too
        QTest::qWait(20);
        QVERIFY(!heard);
    }
};

QTEST_MAIN(TestBoxes)
#include "test_boxes.moc"
