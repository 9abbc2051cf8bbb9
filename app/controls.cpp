#include "controls.h"

#include <QLabel>

namespace volcanelle {

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
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void showCaption(QLabel* label, const QString& role, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text.isEmpty() ? role : role + QStringLiteral(" : ") + text);
}

} // namespace volcanelle
