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

}  // namespace

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
