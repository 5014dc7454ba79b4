#include "app/JBWv3.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/AppFolder.h"
#include "app/CommandLine.h"
#include "app/Config.h"
#include "app/MicrophoneCommand.h"
#include "app/RemoteControl.h"
#include "editors/DLLs.h"
#include "editors/External.h"
#include "platform/CallbackGuard.h"
#include "platform/DesktopSession.h"
#include "platform/FolderLock.h"
#include "platform/RemoteControlService.h"
#include "platform/SoundOutput.h"
#include "platform/TerminationSignals.h"
#include "platform/VirtualMicrophone.h"
#include "platform/WindowHandles.h"
#include "settings/OutputDevice.h"
#include "sounds/PlaySoundThread.h"
#include "toolkit/Application.h"

namespace {

platform::LRESULT ApplicationWndProc(platform::HWND, platform::UINT, platform::WPARAM,
                                     platform::LPARAM) {
  return 0;
}

int AlreadyRunning() {
  std::printf("Jabberwell is already running from %s\n", app::ApplicationFolder().c_str());
  return 0;
}

}  // namespace

int JBWv3(int argc, char** argv) {
  if (argc > 1) return app::RunCommandLine(argc, argv);
  if (!platform::DesktopSessionAvailable()) {
    std::fputs("jabberwell: needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
               stderr);
    return 1;
  }
  // One board per application folder: two would lose each other's saves. The lock holds
  // without a session bus; the bus name, which control from outside needs, besides.
  platform::FolderLock folderLock(app::ApplicationFolder());
  if (folderLock.state() == platform::FolderLock::State::HeldElsewhere) return AlreadyRunning();
  // So `--quit` can wait for the very end.
  folderLock.KeepUntilTheProcessEnds();
  // Both change the environment, so they come before the toolkit, the bus or a sound
  // starts a thread that reads it.
  platform::PrepareSoundOutput();
  platform::PreferX11UnderWayland();
  tk::TApplication& application = tk::Application();
  application.Initialize(argc, argv);
  platform::RemoteControlService control(app::ApplicationFolder());
  if (control.ClaimName() == platform::RemoteControlService::Claim::AlreadyRunning) {
    return AlreadyRunning();
  }
  control.SetQuitWhileStarting([] { tk::Application().Terminate(); });
  // Tray mouse actions reach our window procedures from platform callbacks: they too
  // run under the default error handler.
  platform::SetCallbackGuard([](const std::function<void()>& callback) { tk::Guard(callback); });

  // No taskbar button: the application's own window is made with the tool-window style,
  // as every form of ours is.
  const platform::HWND applicationWindow =
      platform::CreateWindowHandle(ApplicationWndProc, nullptr);

  application.SetTitle("Jabberwell v3");
  // Ends the program as "Quit Program" does: the icon goes, nothing is written.
  platform::OnTerminationSignal([] { tk::Application().Terminate(); });

  // Before the window's start plays its random clip.
  platform::SetSoundOutputDevice(settings::ReadOutputDevice(app::ApplicationFolder()));
  app::StartMicrophone();
  auto formConfig = std::make_unique<app::TFormConfig>(nullptr);
  app::TFormConfig* config = formConfig.get();
  editors::TEditorContext context;
  context.state = &config->State();
  context.readSettings = [config](tk::TComponent* sender) { config->ReadSettings(sender); };
  context.showConfig = [config] { config->Show(); };
  auto formExternal = std::make_unique<editors::TFormExternal>(nullptr, context);
  auto formDLLs = std::make_unique<editors::TFormDLLs>(nullptr, context);
  config->SetEditors(formExternal.get(), formDLLs.get());
  app::TRemoteControl remoteControl(*config);
  control.SetCommands(&remoteControl);

  application.Run();

  control.SetCommands(nullptr);
  // The microphone goes before anything else: a chat must not keep a source that no
  // longer carries anything.
  platform::SetVirtualMicrophone(app::ApplicationFolder(), false, false);

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
