#include "platform/linux/x11/X11Properties.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace platform {

namespace {

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

xcb_window_t RootOf(xcb_connection_t* c) {
  return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// The server's time now. A property change answers with it; it is made on a connection
// of our own, since Qt's keeps its events to itself.
xcb_timestamp_t ServerTime() {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  xcb_timestamp_t time = XCB_CURRENT_TIME;
  if (!xcb_connection_has_error(c)) {
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, RootOf(c), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_flush(c);
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
      const bool changed = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
      if (changed) time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
      std::free(event);
      if (changed) break;
    }
  }
  xcb_disconnect(c);
  return time;
}

}  // namespace

bool IsX11() {
  return Connection() != nullptr;
}

bool ActivateX11Window(QWidget* widget) {
  xcb_connection_t* c = Connection();
  if (!c || !widget) return false;
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = static_cast<xcb_window_t>(widget->winId());
  message.type = Atom(c, "_NET_ACTIVE_WINDOW");
  // A pager speaks for the user; an application's own request may be refused in favour
  // of the window the user last typed in, though the user asked for this one.
  message.data.data32[0] = 2;
  message.data.data32[1] = ServerTime();
  message.data.data32[2] = XCB_NONE;
  xcb_send_event(c, 0, RootOf(c),
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(c);
  return true;
}

void SetX11WindowClass(QWidget* widget, const char* instance, const char* className) {
  xcb_connection_t* c = Connection();
  if (!c || !widget) return;
  std::string value = std::string(instance) + '\0' + className + '\0';
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(widget->winId()),
                      XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, static_cast<uint32_t>(value.size()),
                      value.data());
  xcb_flush(c);
}

void AddX11NetWmStates(QWidget* widget, std::initializer_list<const char*> states) {
  xcb_connection_t* c = Connection();
  if (!c || !widget) return;
  const xcb_atom_t property = Atom(c, "_NET_WM_STATE");
  std::vector<xcb_atom_t> atoms;
  for (const char* name : states) {
    if (const xcb_atom_t atom = Atom(c, name); atom != XCB_ATOM_NONE) atoms.push_back(atom);
  }
  if (property == XCB_ATOM_NONE || atoms.empty()) return;
  const auto window = static_cast<xcb_window_t>(widget->winId());
  // Without a window manager to clear them, states already there must not pile up.
  if (xcb_get_property_reply_t* reply = xcb_get_property_reply(
          c, xcb_get_property(c, 0, window, property, XCB_ATOM_ATOM, 0, 1024), nullptr)) {
    const auto* present = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / static_cast<int>(sizeof(xcb_atom_t));
    std::erase_if(atoms, [&](xcb_atom_t a) {
      return std::find(present, present + count, a) != present + count;
    });
    std::free(reply);
  }
  if (atoms.empty()) return;
  xcb_change_property(c, XCB_PROP_MODE_APPEND, window, property, XCB_ATOM_ATOM, 32,
                      static_cast<uint32_t>(atoms.size()), atoms.data());
  xcb_flush(c);
}

}  // namespace platform
