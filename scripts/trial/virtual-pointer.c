/* Gives a headless wlroots compositor's seat a pointer, so that its clients get pointer
 * events at all; the trial then moves and clicks with "swaymsg seat - cursor ...". Keeps
 * the device until killed. The protocol's interface tables are written out here, so no
 * protocol file is needed to build it. */
#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

static const struct wl_interface* no_types[] = {NULL, NULL, NULL, NULL, NULL};

static const struct wl_message pointer_requests[] = {
    {"motion", "uff", no_types},   {"motion_absolute", "uuuuu", no_types},
    {"button", "uuu", no_types},   {"axis", "uuf", no_types},
    {"frame", "", no_types},       {"axis_source", "u", no_types},
    {"axis_stop", "uu", no_types}, {"axis_discrete", "uufi", no_types},
    {"destroy", "", no_types},
};
static const struct wl_interface pointer_interface = {"zwlr_virtual_pointer_v1", 1, 9,
                                                      pointer_requests,          0, NULL};

static const struct wl_interface* create_types[] = {&wl_seat_interface, &pointer_interface};
static const struct wl_message manager_requests[] = {
    {"create_virtual_pointer", "?on", create_types},
    {"destroy", "", no_types},
};
static const struct wl_interface manager_interface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, manager_requests, 0, NULL};

static struct wl_seat* seat;
static struct wl_proxy* manager;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* iface,
                   uint32_t version) {
  (void)data;
  (void)version;
  if (!strcmp(iface, "wl_seat") && !seat)
    seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
  if (!strcmp(iface, manager_interface.name))
    manager = wl_registry_bind(registry, name, &manager_interface, 1);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
  (void)data;
  (void)registry;
  (void)name;
}

static const struct wl_registry_listener listener = {global, global_remove};

int main(void) {
  struct wl_display* display = wl_display_connect(NULL);
  if (!display) {
    fprintf(stderr, "virtual-pointer: no Wayland display\n");
    return 1;
  }
  wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
  wl_display_roundtrip(display);
  if (!manager) {
    fprintf(stderr, "virtual-pointer: the compositor offers no virtual pointers\n");
    return 1;
  }
  wl_proxy_marshal_constructor(manager, 0, &pointer_interface, seat, NULL);
  wl_display_roundtrip(display);
  while (wl_display_dispatch(display) != -1) {
  }
  return 0;
}
