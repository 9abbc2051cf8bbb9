// SPDX-License-Identifier: GPL-3.0-or-later
#include "modalanswerer.h"

#include "boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

namespace volcanelle::testing {

ModalAnswerer::ModalAnswerer(QObject* parent) : QObject(parent)
{
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start();
}

void ModalAnswerer::type(const QString& text)
{
    answers_.push_back([text](QWidget* box) {
        if (auto* edit = box->findChild<QLineEdit*>())
            edit->setText(text);
        if (!clickButton(box, QStringLiteral("OK")))
            closeAnyway(box);
    });
}

void ModalAnswerer::paste(const QString& text)
{
    answers_.push_back([text](QWidget* box) {
        if (auto* edit = box->findChild<QLineEdit*>()) {
            QApplication::clipboard()->setText(text);
            edit->paste();
        }
        if (!clickButton(box, QStringLiteral("OK")))
            closeAnyway(box);
    });
}

void ModalAnswerer::press(const QString& text)
{
    answers_.push_back([text](QWidget* box) {
        if (!clickButton(box, text))
            closeAnyway(box);
    });
}

void ModalAnswerer::escape()
{
    answers_.push_back([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
}

void ModalAnswerer::poll()
{
    QWidget* box = QApplication::activeModalWidget();
    if (!box || box == last_ || !box->isVisible())
        return;
    last_ = box;
    seen << describe(box);
    if (answers_.empty()) {
        unexpected << describe(box);
        closeAnyway(box);
        return;
    }
    const auto answer = std::move(answers_.front());
    answers_.pop_front();
    answer(box);
    // Whatever the answer did, the box must not stay open, or exec() would never return.
    if (box == QApplication::activeModalWidget() && box->isVisible())
        closeAnyway(box);
}

} // namespace volcanelle::testing
