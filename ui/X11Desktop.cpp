#include "ui/X11Desktop.h"

#include <QDialog>
#include <QGuiApplication>
#include <QInputEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>
#include <xcb/xcb.h>

namespace qzds {

namespace {

// Under X only: offscreen, too, answers to the X11 interface, without a display.
xcb_connection_t* X11Connection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return QGuiApplication::platformName() == u"xcb" && x11 != nullptr ? x11->connection()
                                                                       : nullptr;
}

// xcb's replies come from malloc.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); } // NOLINT(cppcoreguidelines-no-malloc)
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_atom_t Atom(xcb_connection_t* connection, std::string_view name) {
    const ReplyPtr<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
        nullptr));
    return atom != nullptr ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The one 32-bit value of a window's property, if it has one.
std::optional<std::uint32_t> Property(xcb_connection_t* connection, xcb_window_t window,
                                      std::string_view name) {
    const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, Atom(connection, name), XCB_ATOM_ANY, 0, 1),
        nullptr));
    if (reply == nullptr || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) {
        return std::nullopt;
    }
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

// The window with the keyboard focus, if it is one of the program's own.
std::optional<xcb_window_t> OwnFocus(xcb_connection_t* connection) {
    const ReplyPtr<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (focus == nullptr || (focus->focus & ~setup->resource_id_mask) != setup->resource_id_base) {
        return std::nullopt;
    }
    return focus->focus;
}

// The time of the latest key, button or touch the program has taken, pressed or released,
// whichever window it went to: mutter refuses a request older than the last input it saw, and a
// key's release follows its press. Not _NET_WM_USER_TIME, which Qt stamps with whatever event came
// last (perhaps a property change the window manager made for a click elsewhere).
class InputClock : public QObject {
public:
    explicit InputClock(QObject* app)
        : QObject(app) {
        app->installEventFilter(this);
    }
    std::optional<std::uint32_t> latest;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched->isWindowType() && event->spontaneous() &&
            (type == QEvent::KeyPress || type == QEvent::KeyRelease ||
             type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
             type == QEvent::TouchBegin || type == QEvent::TouchEnd)) {
            // Server time wraps around every 49.7 days: later is less than half the range ahead.
            const auto time =
                static_cast<std::uint32_t>(static_cast<QInputEvent*>(event)->timestamp());
            if (!latest || static_cast<std::int32_t>(time - *latest) > 0) {
                latest = time;
            }
        }
        return false;
    }
};

InputClock* TheInputClock() {
    static auto* const clock = new InputClock(qGuiApp);
    return clock;
}

// The time of the user's latest input in the program (before any, as when a screen reader
// presses a button, the focused window's user time); none while the focus is elsewhere.
std::optional<std::uint32_t> OwnUserTime(xcb_connection_t* connection) {
    const std::optional<xcb_window_t> focus =
        connection != nullptr ? OwnFocus(connection) : std::nullopt;
    if (!focus || TheInputClock()->latest) {
        return focus ? TheInputClock()->latest : std::nullopt;
    }
    const xcb_window_t timed =
        Property(connection, *focus, "_NET_WM_USER_TIME_WINDOW").value_or(*focus);
    // 0 marks a window shown without activation: a request stamped 0 would mean "now".
    const std::optional<std::uint32_t> time = Property(connection, timed, "_NET_WM_USER_TIME");
    return time != 0U ? time : std::nullopt;
}

// Under XWayland a Wayland compositor is the window manager. XWayland says so by an extension of
// its name since 23.1, and names its outputs as the compositor does ("Meta-0", "DP-1"); earlier
// ones name them "XWAYLAND<n>".
enum class Server { X, XWayland, XWaylandBefore23 };

Server ServerOf(xcb_connection_t* connection) {
    static const Server server = [connection] {
        const std::string_view name = "XWAYLAND";
        const ReplyPtr<xcb_query_extension_reply_t> extension(xcb_query_extension_reply(
            connection,
            xcb_query_extension(connection, static_cast<std::uint16_t>(name.size()), name.data()),
            nullptr));
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (extension != nullptr && extension->present != 0) {
            return Server::XWayland;
        }
        return screen != nullptr && screen->name().startsWith(u"XWAYLAND")
                   ? Server::XWaylandBefore23
                   : Server::X;
    }();
    return server;
}

// Sends the window manager a request about one of the program's mapped windows.
void SendToWindowManager(xcb_connection_t* connection, const QWidget* window, std::string_view type,
                         std::array<std::uint32_t, 3> data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->winId());
    message.type = Atom(connection, type);
    std::ranges::copy(data, std::begin(message.data.data32));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message)); // NOLINT(*-reinterpret-cast)
    xcb_flush(connection);
}

// For an input at `time`: the window manager refuses if the user has clicked elsewhere since.
void RequestActivation(xcb_connection_t* connection, const QWidget* window, std::uint32_t time) {
    SendToWindowManager(connection, window, "_NET_ACTIVE_WINDOW", {1 /* an application */, time});
}

} // namespace

void FollowUserInput() {
    if (X11Connection() != nullptr) {
        TheInputClock();
    }
}

void MarkModal(QWidget* dialog) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return;
    }
    // A window shown without activation carries a user time of 0: "do not focus it".
    const Server server = ServerOf(connection);
    dialog->windowHandle()->setProperty("_q_showWithoutActivating",
                                        !OwnFocus(connection) || server != Server::X);
    // Qt marks only the windows it blocks others with, and keeps the states it finds on a window
    // not mapped yet. Under XWayland before 23.1 (with mutter 43), only once it has the focus.
    if (server == Server::XWaylandBefore23) {
        return;
    }
    const xcb_atom_t modal = Atom(connection, "_NET_WM_STATE_MODAL");
    xcb_change_property(connection, XCB_PROP_MODE_APPEND,
                        static_cast<xcb_window_t>(dialog->winId()),
                        Atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 1, &modal);
}

std::chrono::milliseconds ActivationDelay() {
    xcb_connection_t* connection = X11Connection();
    return connection != nullptr && ServerOf(connection) != Server::X
               ? std::chrono::milliseconds(100)
               : std::chrono::milliseconds(0);
}

void ActivateModal(QWidget* dialog) {
    xcb_connection_t* connection = X11Connection();
    const std::optional<std::uint32_t> time = OwnUserTime(connection);
    // None for a dialog the window manager focused as it mapped: mutter refuses a request older
    // than that focus, and keys typed ahead then went astray.
    const std::optional<xcb_window_t> focus = time ? OwnFocus(connection) : std::nullopt;
    if (focus && *focus != static_cast<xcb_window_t>(dialog->winId())) {
        RequestActivation(connection, dialog, *time);
    }
}

void ModalFocused(QWidget* dialog) {
    if (xcb_connection_t* connection = X11Connection();
        connection != nullptr && ServerOf(connection) == Server::XWaylandBefore23) {
        SendToWindowManager(connection, dialog, "_NET_WM_STATE",
                            {1 /* add */, Atom(connection, "_NET_WM_STATE_MODAL"), 0});
    }
}

void CloseDialogsOf(QWidget* window) {
    xcb_connection_t* connection = X11Connection();
    const std::optional<std::uint32_t> time = OwnUserTime(connection);
    // The latest first: as the focused one goes, a window manager gives the focus to a modal
    // dialog still there (mutter 48 even to one it has not shown yet, and then to none).
    QList<QDialog*> dialogs = window->findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
    while (!dialogs.isEmpty()) {
        delete dialogs.takeLast();
    }
    if (time && window->isVisible()) {
        RequestActivation(connection, window, *time);
    }
}

} // namespace qzds
