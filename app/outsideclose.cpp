#include "outsideclose.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <xcb/xcb.h>

namespace volcanelle {

namespace {

void closeAsItsCloseBox(QWidget* window)
{
    window->close();
    // A box that ignores its close box cannot stay up with nothing left on screen.
    if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
        dialog->reject();
}

class DestroyWatch : public QObject, public QAbstractNativeEventFilter {
public:
    explicit DestroyWatch(QObject* parent) : QObject(parent) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
            return false;
        const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
        // Qt destroys a window of its own only after the widget has let go of it, so a
        // widget that still holds the destroyed window lost it to someone else.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->internalWinId() == destroyed->window && window->isVisible()) {
                // Not from inside the event dispatch: closing may run a handler that opens
                // another box.
                QTimer::singleShot(0, window, [window] { closeAsItsCloseBox(window); });
            }
        }
        return false;
    }
};

} // namespace

void closeWindowsDestroyedOutside(QApplication& app)
{
    if (QApplication::platformName() != QLatin1String("xcb"))
        return;
    app.installNativeEventFilter(new DestroyWatch(&app));
}

} // namespace volcanelle
