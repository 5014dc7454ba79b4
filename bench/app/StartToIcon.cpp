// Time from process start to the program's tray icon sitting in the tray host.
//
//   bench_start_to_icon [--timeout SECONDS] [--hold SECONDS] PROGRAM [ARGS...]
//
// Starts PROGRAM and polls the X server every millisecond for a window of the child
// process (_NET_WM_PID) that is at most 64 x 64, viewable and reparented away from the
// root window: the icon docked into the tray. Prints the time from just before the fork
// in milliseconds, then ends the child with SIGTERM. Every program is measured by the
// same outside look, so none gains from logging its own moment.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
  auto* reply = xcb_intern_atom_reply(
      x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  xcb_atom_t atom = reply ? reply->atom : XCB_ATOM_NONE;
  std::free(reply);
  return atom;
}

// Every window below the root with its parent, one level per round trip.
std::vector<std::pair<xcb_window_t, xcb_window_t>> AllWindows(xcb_connection_t* x,
                                                              xcb_window_t root) {
  std::vector<std::pair<xcb_window_t, xcb_window_t>> all;
  std::vector<xcb_window_t> level{root};
  while (!level.empty()) {
    std::vector<xcb_query_tree_cookie_t> cookies;
    for (xcb_window_t w : level) cookies.push_back(xcb_query_tree(x, w));
    std::vector<xcb_window_t> next;
    for (size_t i = 0; i < level.size(); ++i) {
      auto* reply = xcb_query_tree_reply(x, cookies[i], nullptr);
      if (!reply) continue;
      const xcb_window_t* kids = xcb_query_tree_children(reply);
      for (int k = 0; k < xcb_query_tree_children_length(reply); ++k) {
        all.emplace_back(kids[k], level[i]);
        next.push_back(kids[k]);
      }
      std::free(reply);
    }
    level.swap(next);
  }
  return all;
}

// Whether a docked, viewable icon window of `pid` exists.
bool IconDocked(xcb_connection_t* x, xcb_window_t root, xcb_atom_t pidAtom, pid_t pid) {
  auto windows = AllWindows(x, root);
  std::vector<xcb_get_window_attributes_cookie_t> attrs;
  std::vector<xcb_get_geometry_cookie_t> geoms;
  for (auto [w, parent] : windows) {
    attrs.push_back(xcb_get_window_attributes(x, w));
    geoms.push_back(xcb_get_geometry(x, w));
  }
  std::vector<xcb_window_t> candidates;
  for (size_t i = 0; i < windows.size(); ++i) {
    auto* a = xcb_get_window_attributes_reply(x, attrs[i], nullptr);
    auto* g = xcb_get_geometry_reply(x, geoms[i], nullptr);
    if (a && g && a->map_state == XCB_MAP_STATE_VIEWABLE && windows[i].second != root &&
        g->width <= 64 && g->height <= 64)
      candidates.push_back(windows[i].first);
    std::free(a);
    std::free(g);
  }
  std::vector<xcb_get_property_cookie_t> props;
  for (xcb_window_t w : candidates)
    props.push_back(xcb_get_property(x, 0, w, pidAtom, XCB_ATOM_CARDINAL, 0, 1));
  bool found = false;
  for (auto cookie : props) {
    auto* p = xcb_get_property_reply(x, cookie, nullptr);
    if (p && xcb_get_property_value_length(p) == 4 &&
        *static_cast<uint32_t*>(xcb_get_property_value(p)) == static_cast<uint32_t>(pid))
      found = true;
    std::free(p);
  }
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  double timeout = 20, hold = 0;
  int arg = 1;
  for (; arg + 1 < argc && argv[arg][0] == '-' && argv[arg][1] == '-'; arg += 2) {
    if (!std::strcmp(argv[arg], "--timeout"))
      timeout = std::atof(argv[arg + 1]);
    else if (!std::strcmp(argv[arg], "--hold"))
      hold = std::atof(argv[arg + 1]);
  }
  if (arg >= argc) {
    std::fprintf(stderr, "usage: %s [--timeout S] [--hold S] PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) {
    std::fprintf(stderr, "bench_start_to_icon: no X display\n");
    return 2;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const xcb_atom_t pidAtom = Atom(x, "_NET_WM_PID");

  const auto start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[arg], argv + arg);
    std::_Exit(127);
  }
  if (child < 0) return 2;

  int status = 0;
  bool found = false, exited = false;
  Clock::time_point seen;
  while (Clock::now() - start < std::chrono::duration<double>(timeout)) {
    if (IconDocked(x, root, pidAtom, child)) {
      seen = Clock::now();
      found = true;
      break;
    }
    if (waitpid(child, &status, WNOHANG) == child) {
      exited = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (found && hold > 0) std::this_thread::sleep_for(std::chrono::duration<double>(hold));
  if (!exited) {
    kill(child, SIGTERM);
    waitpid(child, &status, 0);
  }
  xcb_disconnect(x);
  if (!found) {
    std::fprintf(stderr, "bench_start_to_icon: no tray icon from %s\n", argv[arg]);
    return 1;
  }
  std::printf("%.1f\n", std::chrono::duration<double, std::milli>(seen - start).count());
  return 0;
}
