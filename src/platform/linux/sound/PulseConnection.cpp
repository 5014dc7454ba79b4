#include "platform/linux/sound/PulseConnection.h"

namespace platform {

namespace {

struct Loaded {
  PulseConnection* connection;
  uint32_t index = PA_INVALID_INDEX;
};

struct Modules {
  PulseConnection* connection;
  const std::string* text;
  std::vector<uint32_t> found;
};

}  // namespace

void PulseConnection::Wake(void* self) {
  auto* c = static_cast<PulseConnection*>(self);
  c->api_.pa_threaded_mainloop_signal(c->loop_, 0);
}

std::unique_ptr<PulseConnection> PulseConnection::Connect(const char* clientName) {
  const PulseLibrary* api = Pulse();
  if (!api) return nullptr;
  std::unique_ptr<PulseConnection> c(new PulseConnection(*api));
  c->loop_ = api->pa_threaded_mainloop_new();
  if (!c->loop_) return nullptr;
  c->context_ = api->pa_context_new(api->pa_threaded_mainloop_get_api(c->loop_), clientName);
  if (!c->context_) return nullptr;
  api->pa_context_set_state_callback(
      c->context_, [](pa_context*, void* self) { Wake(self); }, c.get());
  // A client library set to start a server when none runs would start PulseAudio
  // beside PipeWire, or on a desktop without sound.
  if (api->pa_context_connect(c->context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
    return nullptr;
  if (api->pa_threaded_mainloop_start(c->loop_) < 0) return nullptr;
  Lock lock(*c);
  for (;;) {
    const pa_context_state_t state = api->pa_context_get_state(c->context_);
    if (state == PA_CONTEXT_READY) return c;
    if (!PA_CONTEXT_IS_GOOD(state)) break;
    api->pa_threaded_mainloop_wait(c->loop_);
  }
  return nullptr;
}

PulseConnection::~PulseConnection() {
  if (loop_) api_.pa_threaded_mainloop_stop(loop_);
  if (context_) {
    api_.pa_context_disconnect(context_);
    api_.pa_context_unref(context_);
  }
  if (loop_) api_.pa_threaded_mainloop_free(loop_);
}

bool PulseConnection::Alive() {
  Lock lock(*this);
  return api_.pa_context_get_state(context_) == PA_CONTEXT_READY;
}

void PulseConnection::Finish(pa_operation* operation) {
  if (!operation) return;
  while (api_.pa_operation_get_state(operation) == PA_OPERATION_RUNNING &&
         api_.pa_context_get_state(context_) == PA_CONTEXT_READY) {
    api_.pa_threaded_mainloop_wait(loop_);
  }
  api_.pa_operation_unref(operation);
}

uint32_t PulseConnection::LoadModule(const char* name, const std::string& arguments,
                                     std::string& error) {
  Lock lock(*this);
  Loaded loaded{this};
  Finish(api_.pa_context_load_module(
      context_, name, arguments.c_str(),
      [](pa_context*, uint32_t index, void* data) {
        auto* l = static_cast<Loaded*>(data);
        l->index = index;
        Wake(l->connection);
      },
      &loaded));
  if (loaded.index == PA_INVALID_INDEX) {
    error = std::string(name) + ": " + api_.pa_strerror(api_.pa_context_errno(context_));
  }
  return loaded.index;
}

void PulseConnection::UnloadModule(uint32_t index) {
  Lock lock(*this);
  Finish(api_.pa_context_unload_module(
      context_, index, [](pa_context*, int, void* self) { Wake(self); }, this));
}

std::vector<uint32_t> PulseConnection::ModulesWith(const std::string& text) {
  Lock lock(*this);
  Modules modules{this, &text, {}};
  Finish(api_.pa_context_get_module_info_list(
      context_,
      [](pa_context*, const pa_module_info* info, int eol, void* data) {
        auto* m = static_cast<Modules*>(data);
        if (eol) {
          Wake(m->connection);
          return;
        }
        if (info->argument && std::string(info->argument).find(*m->text) != std::string::npos)
          m->found.push_back(info->index);
      },
      &modules));
  return modules.found;
}

void PulseConnection::OnServerChange(std::function<void()> changed) {
  Lock lock(*this);
  serverChanged_ = std::move(changed);
  api_.pa_context_set_subscribe_callback(
      context_,
      [](pa_context*, pa_subscription_event_type_t, uint32_t, void* self) {
        static_cast<PulseConnection*>(self)->serverChanged_();
      },
      this);
  if (pa_operation* operation =
          api_.pa_context_subscribe(context_, PA_SUBSCRIPTION_MASK_SERVER, nullptr, nullptr))
    api_.pa_operation_unref(operation);
}

PulseConnection::Defaults PulseConnection::DefaultNames() {
  Lock lock(*this);
  struct Answer {
    PulseConnection* connection;
    Defaults names;
  } answer{this, {}};
  Finish(api_.pa_context_get_server_info(
      context_,
      [](pa_context*, const pa_server_info* info, void* data) {
        auto* a = static_cast<Answer*>(data);
        if (info && info->default_sink_name) a->names.sink = info->default_sink_name;
        if (info && info->default_source_name) a->names.source = info->default_source_name;
        Wake(a->connection);
      },
      &answer));
  return answer.names;
}

}  // namespace platform
