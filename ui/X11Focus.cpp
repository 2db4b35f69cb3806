#include "ui/X11Focus.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace qzds {

namespace {

// The X connection, under X only: other platforms may answer to the X11 interface too
// (offscreen does, without a display).
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

xcb_window_t InputFocus(xcb_connection_t* connection) {
    const ReplyPtr<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    return focus != nullptr ? focus->focus : XCB_NONE;
}

// Whether this window was made by this program's connection.
bool IsOwn(xcb_connection_t* connection, xcb_window_t window) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    return (window & ~setup->resource_id_mask) == setup->resource_id_base;
}

// Whether one of the program's windows with this id is on the screen.
bool IsShown(xcb_window_t id) {
    const QWindowList windows = QGuiApplication::allWindows();
    return std::ranges::any_of(windows, [id](const QWindow* window) {
        return window->handle() != nullptr && window->winId() == id && window->isVisible();
    });
}

} // namespace

KeyboardBridge::KeyboardBridge(QWidget* window)
    : QObject(window)
    , m_window(window) {
    m_limit.setSingleShot(true);
    m_limit.setInterval(MaxHold);
    connect(&m_limit, &QTimer::timeout, this, &KeyboardBridge::release);
}

KeyboardBridge::~KeyboardBridge() {
    stop();
}

void KeyboardBridge::start() {
    if (!m_watching && X11Connection() != nullptr) {
        m_watching = true;
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

void KeyboardBridge::stop() {
    release();
    if (m_watching) {
        m_watching = false;
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void KeyboardBridge::bridge(const QWidget* dialog, unsigned long time) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || !m_window->isVisible() || m_window->isMinimized()) {
        return; // no X, or no window of the program that keys could go to meanwhile
    }
    const xcb_window_t focus = InputFocus(connection);
    if (!IsOwn(connection, focus)) {
        return; // the user has put the focus elsewhere
    }
    const auto window = static_cast<xcb_window_t>(m_window->winId());
    if (focus == dialog->winId()) {
        xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT, window,
                            static_cast<xcb_timestamp_t>(time));
    }
    if (!m_grabbed) {
        const ReplyPtr<xcb_grab_keyboard_reply_t> grab(
            xcb_grab_keyboard_reply(connection,
                                    xcb_grab_keyboard(connection, 0, window, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr));
        m_grabbed = grab != nullptr && grab->status == XCB_GRAB_STATUS_SUCCESS;
    }
    xcb_flush(connection);
    if (m_grabbed) {
        m_limit.start();
    }
}

void KeyboardBridge::release() {
    if (!m_grabbed) {
        return;
    }
    m_grabbed = false;
    m_limit.stop();
    if (xcb_connection_t* connection = X11Connection()) {
        xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
        xcb_flush(connection);
    }
}

bool KeyboardBridge::focusIsProgram() const {
    xcb_connection_t* connection = X11Connection();
    return connection == nullptr || IsOwn(connection, InputFocus(connection));
}

// Whether the keyboard focus is now in a window that the window manager manages for another
// program: the user has clicked or switched there. The window manager's own windows, which it
// may pass the focus through on the way to the next dialog, are not.
bool KeyboardBridge::focusIsOtherApplications() const {
    xcb_connection_t* connection = X11Connection();
    xcb_window_t window = InputFocus(connection);
    if (window == XCB_NONE || window == XCB_INPUT_FOCUS_POINTER_ROOT || IsOwn(connection, window)) {
        return false;
    }
    static const xcb_atom_t wmState = [connection] {
        const ReplyPtr<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 1, 8, "WM_STATE"), nullptr));
        return atom != nullptr ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
    }();
    while (window != XCB_NONE && wmState != XCB_ATOM_NONE) {
        const ReplyPtr<xcb_get_property_reply_t> state(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, wmState, XCB_ATOM_ANY, 0, 0),
            nullptr));
        if (state != nullptr && state->type != XCB_ATOM_NONE) {
            return true; // a top-level window of another program
        }
        const ReplyPtr<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        window =
            tree != nullptr && tree->parent != tree->root ? tree->parent : xcb_window_t{XCB_NONE};
    }
    return false;
}

// Keys the server sent to a window of the program that is no longer shown (a dialog answered
// just before they arrived) go to the main window instead, where they are held for the next
// dialog: Qt would drop them. While the keyboard is held, a focus change or a key tells whether
// the user went elsewhere.
bool KeyboardBridge::nativeEventFilter(const QByteArray& eventType, void* message,
                                       qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto type = static_cast<xcb_generic_event_t*>(message)->response_type & 0x7F;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        // A press and a release have the same layout.
        auto* key = static_cast<xcb_key_press_event_t*>(message);
        if (!IsShown(key->event)) {
            key->event = static_cast<xcb_window_t>(m_window->winId());
            key->child = XCB_NONE;
        }
    } else if (type != XCB_FOCUS_OUT) {
        return false;
    }
    if (!m_grabbed || !focusIsOtherApplications()) {
        return false;
    }
    release();
    // A key typed into the other program before the grab ended is not the program's.
    return type != XCB_FOCUS_OUT;
}

} // namespace qzds
