// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs.h"

#include "engine/texts.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

namespace volcanelle::dialogs {

namespace {

// Room in a title bar for what the window manager puts beside the title: the window menu
// icon, the buttons and the margins between them.
constexpr int kTitleBarRoom = 140;

// How wide a box must be for the window manager to show its title whole. Title bars use a
// bold face, often a little larger than the boxes' own text.
int widthForTitle(const QString& title)
{
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarRoom;
}

// A box with no title would be named by the window system after the program's identifier.
QString titleOrGame(const QString& title)
{
    return title.isEmpty() ? texts::gameTitle() : title;
}

// A message box sizes itself to its text; a spacer across its whole grid holds it wide
// enough for its title as well.
void fitTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(widthForTitle(box.windowTitle()), 0, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// The boxes, built once for both ways of showing them: exec(), which waits for the answer,
// and later(), which does not.

std::unique_ptr<QMessageBox> makeAnnounce(QWidget* parent, const QString& text,
                                          const QString& title)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, titleOrGame(title), text,
                                             QMessageBox::Ok, parent);
    // A network duel shows the other program's words here: never read them as markup.
    box->setTextFormat(Qt::PlainText);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    fitTitle(*box);
    return box;
}

std::unique_ptr<QMessageBox> makeOfferLink(QWidget* parent, const QString& text,
                                           const QString& title, const QString& copyLabel)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, titleOrGame(title), text,
                                             QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box->addButton(copyLabel, QMessageBox::ActionRole);
    box->setDefaultButton(QMessageBox::Ok);
    fitTitle(*box);
    return box;
}

void copyIfAsked(const QMessageBox& box, const QString& link)
{
    if (box.clickedButton() && box.buttonRole(box.clickedButton()) == QMessageBox::ActionRole)
        QGuiApplication::clipboard()->setText(link);
}

std::unique_ptr<QMessageBox> makeConfirm(QWidget* parent, const QString& text, const QString& title)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, titleOrGame(title), text,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setTextFormat(Qt::PlainText);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
    box->button(QMessageBox::No)->setText(QStringLiteral("Non"));
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    fitTitle(*box);
    return box;
}

bool saidYes(const QMessageBox& box)
{
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

std::unique_ptr<QInputDialog> makeAskText(QWidget* parent, const QString& prompt,
                                          const QString& title, int maxLength)
{
    auto box = std::make_unique<QInputDialog>(parent);
    box->setInputMode(QInputDialog::TextInput);
    box->setWindowTitle(titleOrGame(title));
    box->setLabelText(prompt);
    if (auto* label = box->findChild<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    box->setTextValue(QString());
    // Text mode has made the box's line edit.
    if (auto* edit = box->findChild<QLineEdit*>())
        edit->setMaxLength(maxLength);
    box->setOkButtonText(QStringLiteral("OK"));
    box->setCancelButtonText(QStringLiteral("Annuler"));
    box->setMinimumWidth(widthForTitle(box->windowTitle()));
    return box;
}

std::optional<QString> typedText(const QInputDialog& box)
{
    if (box.result() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

// Shows `box` as modal as exec() would, without waiting. As it closes, `read` takes the
// answer from it and gives what to do with it, which runs from the event loop, as the code
// after exec() would: once the click that closed the box is over. Nothing runs once
// `context` is gone. The box deletes itself.
template <class Box, class Read> void later(std::unique_ptr<Box> made, QObject* context, Read read)
{
    Box* box = made.release();
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QDialog::finished, context, [box, context, read = std::move(read)] {
        QTimer::singleShot(0, context, std::function<void()>(read(*box)));
    });
    box->show();
}

} // namespace

void announce(QWidget* parent, const QString& text, const QString& title)
{
    makeAnnounce(parent, text, title)->exec();
}

void offerLink(QWidget* parent, const QString& text, const QString& title, const QString& link,
               const QString& copyLabel)
{
    const auto box = makeOfferLink(parent, text, title, copyLabel);
    box->exec();
    copyIfAsked(*box, link);
}

bool confirm(QWidget* parent, const QString& text, const QString& title)
{
    const auto box = makeConfirm(parent, text, title);
    box->exec();
    return saidYes(*box);
}

std::optional<QString> askText(QWidget* parent, const QString& prompt, const QString& title,
                               int maxLength)
{
    const auto box = makeAskText(parent, prompt, title, maxLength);
    box->exec();
    return typedText(*box);
}

void announceLater(QWidget* parent, const QString& text, const QString& title, QObject* context,
                   std::function<void()> done)
{
    later(makeAnnounce(parent, text, title), context, [done](const QMessageBox&) { return done; });
}

void offerLinkLater(QWidget* parent, const QString& text, const QString& title, const QString& link,
                    const QString& copyLabel, QObject* context, std::function<void()> done)
{
    later(makeOfferLink(parent, text, title, copyLabel), context,
          [link, done](const QMessageBox& box) {
              copyIfAsked(box, link);
              return done;
          });
}

void confirmLater(QWidget* parent, const QString& text, const QString& title, QObject* context,
                  std::function<void(bool)> done)
{
    later(makeConfirm(parent, text, title), context,
          [done](const QMessageBox& box) { return [done, yes = saidYes(box)] { done(yes); }; });
}

void askTextLater(QWidget* parent, const QString& prompt, const QString& title, int maxLength,
                  QObject* context, std::function<void(std::optional<QString>)> done)
{
    later(makeAskText(parent, prompt, title, maxLength), context, [done](const QInputDialog& box) {
        return [done, typed = typedText(box)] { done(typed); };
    });
}

std::optional<int> choose(QWidget* parent, const QString& text, const QString& title,
                          const QStringList& choices, int preferred)
{
    // A dialog rather than a message box: a message box made only of answers could be
    // neither closed nor escaped.
    QDialog box(parent);
    box.setWindowTitle(title);
    box.setMinimumWidth(widthForTitle(title));
    auto* layout = new QVBoxLayout(&box);
    auto* label = new QLabel(text, &box);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(&box);
    layout->addWidget(buttons);
    std::optional<int> chosen;
    for (int i = 0; i < choices.size(); ++i) {
        QPushButton* button = buttons->addButton(choices.at(i), QDialogButtonBox::AcceptRole);
        QObject::connect(button, &QPushButton::clicked, &box, [&chosen, &box, i] {
            chosen = i;
            box.accept();
        });
        if (i == preferred) {
            button->setDefault(true);
            button->setFocus();
        }
    }
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return chosen;
}

} // namespace volcanelle::dialogs
