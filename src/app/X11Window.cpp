#include "app/X11Window.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tovrin::app {

namespace {

// Window managers answer at once; a longer wait would only delay the first showing.
constexpr int kAnswerWaitMs = 100;

struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t Atom(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

bool Supports(xcb_connection_t* c, xcb_window_t root, xcb_atom_t supported, xcb_atom_t wanted)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, wanted) != atoms + count;
}

std::optional<geometry::FrameMargins> ReadExtents(xcb_connection_t* c, xcb_window_t window,
                                                  xcb_atom_t extents)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    // Order on the wire: left, right, top, bottom. A frame of absurd size is no answer.
    for (int i = 0; i < 4; ++i)
        if (v[i] > 1000)
            return std::nullopt;
    return geometry::FrameMargins{int(v[0]), int(v[2]), int(v[1]), int(v[3])};
}

xcb_connection_t* Connection()
{
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace

xcb_atom_t InternAtom(xcb_connection_t* c, const char* name)
{
    return Atom(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name));
}

// A client message to the root window, for the window manager.
void SendToRoot(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
                std::uint8_t format, const void* data, std::uint32_t mask)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = format;
    message.window = window;
    message.type = type;
    std::memcpy(message.data.data8, data, sizeof message.data.data8);
    std::array<char, 32> bytes{};
    static_assert(sizeof(message) == bytes.size());
    std::memcpy(bytes.data(), &message, sizeof message);
    xcb_send_event(c, 0, root, mask, bytes.data());
}

std::optional<QRect> X11DockedWindowGeometry(WId window)
{
    xcb_connection_t* c = Connection();
    if (!c || window == 0)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window);
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, id), nullptr));
    if (!tree || tree->parent == tree->root)
        return std::nullopt;
    const Reply<xcb_get_geometry_reply_t> size(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    const Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, id, tree->root, 0, 0), nullptr));
    if (!size || !at)
        return std::nullopt;
    return QRect(at->dst_x, at->dst_y, size->width, size->height);
}

std::optional<geometry::FrameMargins> RequestX11FrameExtents(WId window)
{
    xcb_connection_t* c = Connection();
    if (!c || window == 0)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen)
        return std::nullopt;

    const auto name = [c](const char* n) {
        return xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(n)), n);
    };
    const auto supportedCookie = name("_NET_SUPPORTED");
    const auto requestCookie = name("_NET_REQUEST_FRAME_EXTENTS");
    const auto extentsCookie = name("_NET_FRAME_EXTENTS");
    const xcb_atom_t supported = Atom(c, supportedCookie);
    const xcb_atom_t request = Atom(c, requestCookie);
    const xcb_atom_t extents = Atom(c, extentsCookie);
    if (!supported || !request || !extents || !Supports(c, screen->root, supported, request))
        return std::nullopt;

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    std::array<char, 32> bytes{};
    static_assert(sizeof(message) == bytes.size());
    std::memcpy(bytes.data(), &message, sizeof message);
    xcb_send_event(c, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   bytes.data());
    xcb_flush(c);

    // The answer is a property on the window; Qt's own event reader sees the change,
    // so read the property itself until it is there.
    QElapsedTimer waited;
    waited.start();
    do {
        if (auto frame = ReadExtents(c, id, extents))
            return frame;
        QThread::usleep(100);
    } while (!waited.hasExpired(kAnswerWaitMs));
    return std::nullopt;
}

} // namespace tovrin::app

namespace tovrin::app {

void X11UseStartupId(WId window, const QByteArray& startupId)
{
    xcb_connection_t* c = Connection();
    const xcb_screen_t* screen = c ? xcb_setup_roots_iterator(xcb_get_setup(c)).data : nullptr;
    if (!screen || window == 0)
        return;
    const auto id = static_cast<xcb_window_t>(window);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, InternAtom(c, "_NET_STARTUP_ID"),
                        InternAtom(c, "UTF8_STRING"), 8,
                        static_cast<std::uint32_t>(startupId.size()), startupId.constData());
    // The launcher's time of the click, which the id carries as "_TIME<n>".
    const qsizetype at = startupId.lastIndexOf("_TIME");
    const std::uint32_t time = at < 0 ? 0 : startupId.mid(at + 5).toUInt();
    if (time)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, InternAtom(c, "_NET_WM_USER_TIME"),
                            XCB_ATOM_CARDINAL, 32, 1, &time);
    // Activated at the program's own request (source 1), at the time of the launch.
    const std::uint32_t activate[5] = {1, time, 0, 0, 0};
    SendToRoot(c, screen->root, id, InternAtom(c, "_NET_ACTIVE_WINDOW"), 32, activate,
               XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT);
    // The launch has done what it was for: its busy feedback ends ("remove", in pieces of
    // twenty bytes, the first under its own type).
    QByteArray quoted = startupId;
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    const QByteArray remove = "remove: ID=\"" + quoted + "\"" + '\0';
    for (qsizetype from = 0; from < remove.size(); from += 20) {
        char piece[20] = {};
        std::memcpy(piece, remove.constData() + from,
                    static_cast<std::size_t>(std::min<qsizetype>(20, remove.size() - from)));
        SendToRoot(c, screen->root, id,
                   InternAtom(c, from == 0 ? "_NET_STARTUP_INFO_BEGIN" : "_NET_STARTUP_INFO"), 8,
                   piece, XCB_EVENT_MASK_PROPERTY_CHANGE);
    }
    xcb_flush(c);
}

} // namespace tovrin::app
