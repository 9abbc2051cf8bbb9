// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QObject;
class QWidget;

/// The modal boxes through which the window speaks to the players, with French button texts
/// whatever the system's language.
namespace volcanelle::dialogs {

/// A message with a single "OK" button and no icon.
void announce(QWidget* parent, const QString& text, const QString& title);
/// A message whose text can be selected, with "OK" and a button `copyLabel` that puts `link`
/// on the clipboard as it closes the box.
void offerLink(QWidget* parent, const QString& text, const QString& title, const QString& link,
               const QString& copyLabel);
/// A question with "Oui" and "Non", the question icon, "Non" by default and on Escape.
bool confirm(QWidget* parent, const QString& text, const QString& title);
/// An input box with no default text, "OK" and "Annuler", taking at most `maxLength`
/// characters; nothing when cancelled or closed.
std::optional<QString> askText(QWidget* parent, const QString& prompt, const QString& title,
                               int maxLength);

/// The same boxes, as modal, shown without waiting for the answer: `done` gets it once the
/// player gives it, unless `context` is gone by then. The caller's code goes on at once, and
/// no event loop runs inside it.
void announceLater(QWidget* parent, const QString& text, const QString& title, QObject* context,
                   std::function<void()> done);
void offerLinkLater(QWidget* parent, const QString& text, const QString& title, const QString& link,
                    const QString& copyLabel, QObject* context, std::function<void()> done);
void confirmLater(QWidget* parent, const QString& text, const QString& title, QObject* context,
                  std::function<void(bool)> done);
void askTextLater(QWidget* parent, const QString& prompt, const QString& title, int maxLength,
                  QObject* context, std::function<void(std::optional<QString>)> done);

/// A question answered by one of `choices`, each a button, `preferred` the default (chosen by
/// Enter); nothing when the box is closed or Escape is pressed. Returns the index chosen.
std::optional<int> choose(QWidget* parent, const QString& text, const QString& title,
                          const QStringList& choices, int preferred);

} // namespace volcanelle::dialogs
