// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/outsidewatch.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <xcb/xcb.h>

namespace volcanelle {

namespace {

// Long enough for a window manager that minimises a window by unmapping it to have said so,
// or for one that reparents it to have mapped it again.
constexpr int kUnmapSettleMs = 250;

void closeAsItsCloseBox(QWidget* window)
{
    window->close();
    // A box that ignores its close box cannot stay up with nothing left on screen.
    if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
        dialog->reject();
}

void mapAgainIfLost(QWidget* window)
{
    if (!window->isVisible() || window->isMinimized())
        return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window->internalWinId());
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, id), nullptr);
    // Unviewable (mapped inside an unmapped frame) is the window manager's business.
    const bool lost = attributes && attributes->map_state == XCB_MAP_STATE_UNMAPPED;
    std::free(attributes);
    if (lost) {
        xcb_map_window(connection, id);
        xcb_flush(connection);
    }
}

// The visible top-level widget whose own X window is `id`. Qt destroys or unmaps a window of
// its own only after the widget has been hidden, so such a widget lost it to someone else.
QWidget* shownWindow(xcb_window_t id)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->internalWinId() == id && window->isVisible())
            return window;
    return nullptr;
}

class OutsideWatch : public QObject, public QAbstractNativeEventFilter {
public:
    explicit OutsideWatch(QObject* parent) : QObject(parent) {}

    // Acts later, not from inside the event dispatch: closing may run a handler that opens
    // another box.
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_DESTROY_NOTIFY: {
            const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
            if (QWidget* window = shownWindow(destroyed->window))
                QTimer::singleShot(0, window, [window] { closeAsItsCloseBox(window); });
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            const auto* unmapped = static_cast<const xcb_unmap_notify_event_t*>(message);
            if (QWidget* window = shownWindow(unmapped->window))
                QTimer::singleShot(kUnmapSettleMs, window, [window] { mapAgainIfLost(window); });
            break;
        }
        default:
            break;
        }
        return false;
    }
};

} // namespace

void watchOutsideClients(QApplication& app)
{
    if (QApplication::platformName() != QLatin1String("xcb"))
        return;
    app.installNativeEventFilter(new OutsideWatch(&app));
}

} // namespace volcanelle
