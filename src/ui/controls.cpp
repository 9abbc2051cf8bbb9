// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>

namespace volcanelle {

namespace {

// Clicks the button it watches on Enter or Return, on the main keyboard or the keypad.
class EnterPresses : public QObject {
public:
    explicit EnterPresses(QAbstractButton* button) : QObject(button), button_(button) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != button_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!enter || modifiers != Qt::NoModifier)
            return false;
        // Held down, Enter presses once, as Space does.
        if (!key->isAutoRepeat() && button_->isEnabled())
            button_->click();
        return true;
    }

private:
    QAbstractButton* button_;
};

} // namespace

QString arrayName(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                 const QFont& font)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setFont(font);
    label->setWordWrap(true);
    // Captions are plain words; text that looks like markup must show as typed.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void pressOnEnter(QAbstractButton* button)
{
    button->installEventFilter(new EnterPresses(button));
}

void showCaption(QLabel* label, const QString& role, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text.isEmpty() ? role : role + QStringLiteral(" : ") + text);
}

} // namespace volcanelle
