#include "app/JBWv3.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/Config.h"
#include "editors/DLLs.h"
#include "editors/External.h"
#include "platform/CallbackGuard.h"
#include "platform/TerminationSignals.h"
#include "platform/WindowHandles.h"
#include "sounds/PlaySoundThread.h"
#include "toolkit/Application.h"

namespace {

platform::LRESULT ApplicationWndProc(platform::HWND, platform::UINT, platform::WPARAM,
                                     platform::LPARAM) {
  return 0;
}

}  // namespace

int JBWv3(int argc, char** argv) {
  platform::PreferX11UnderWayland();
  tk::TApplication& application = tk::Application();
  application.Initialize(argc, argv);
  // Tray mouse actions reach our window procedures from platform callbacks: they too
  // run under the default error handler.
  platform::SetCallbackGuard([](const std::function<void()>& callback) { tk::Guard(callback); });

  // No taskbar button: the application's own window carries the tool-window style, as
  // every form of ours does.
  const platform::HWND applicationWindow =
      platform::CreateWindowHandle(ApplicationWndProc, nullptr, nullptr, 0);
  const platform::LONG_PTR exStyle =
      platform::GetWindowLongA(applicationWindow, platform::GWL_EXSTYLE);
  platform::SetWindowLongA(applicationWindow, platform::GWL_EXSTYLE,
                           exStyle | platform::WS_EX_TOOLWINDOW);

  application.SetTitle("Jabberwell v3");
  // Ends the program as "Quit Program" does: the icon goes, nothing is written.
  platform::OnTerminationSignal([] { tk::Application().Terminate(); });

  auto formConfig = std::make_unique<app::TFormConfig>(nullptr);
  app::TFormConfig* config = formConfig.get();
  editors::TEditorContext context;
  context.state = &config->State();
  context.readSettings = [config](tk::TComponent* sender) { config->ReadSettings(sender); };
  context.showConfig = [config] { config->Show(); };
  auto formExternal = std::make_unique<editors::TFormExternal>(nullptr, context);
  auto formDLLs = std::make_unique<editors::TFormDLLs>(nullptr, context);
  config->SetEditors(formExternal.get(), formDLLs.get());

  application.Run();

  formDLLs.reset();
  formExternal.reset();
  formConfig.reset();
  platform::DestroyWindowHandle(applicationWindow);
  // Play threads are not waited for, and a normal exit would run the finalizers of the
  // sound units they hold or are still loading under their feet. Nothing is left to
  // write, so the process ends without them.
  if (sounds::TPlaySoundThread::Alive() > 0) {
    std::fflush(nullptr);
    std::quick_exit(0);
  }
  return 0;
}
