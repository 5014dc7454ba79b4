#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/SoundOutput.h"
#include "settings/SharedState.h"
#include "sounds/Catalogue.h"
#include "sounds/PlaySoundThread.h"
#include "support/TempFolder.h"
#include "toolkit/Menus.h"

// A main window stand-in with the popup menu's fixed items 0 to 5, a catalogue over a
// fresh application folder, and helpers that write the settings files.
class CatalogueFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    state_.appFolder = folder_.Path();
    popup_ = new tk::TPopupMenu(&owner_);
    for (const char* name :
         {"MenuAbout", "MenuConfig", "MenuTimer", "MenuQuit", "N1", "MenuExternal"}) {
      auto* item = new tk::TMenuItem(&owner_);
      item->SetName(name);
      popup_->Items()->Add(item);
    }
    catalogue_ =
        std::make_unique<sounds::TCatalogue>(state_, &owner_, *External(), *External(), [this] {
          if (restoreTimer_) restoreTimer_();
        });
  }

  void TearDown() override {
    // Cut off what still plays and let the play threads end before the next test.
    platform::PlaySoundA(nullptr, nullptr, 0);
    for (int i = 0; i < 500 && sounds::TPlaySoundThread::Alive() > 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  // Settings files end their lines with CR LF; "\n" in `text` stands for that.
  void WriteFile(const char* name, const std::string& text) {
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::ofstream(state_.appFolder + name, std::ios::binary) << crlf;
  }
  std::string ReadFile(const char* name) {
    std::ifstream in(state_.appFolder + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // "NumberOfBSUs" = count (a text, so that broken counts can be written) and the paths.
  void WriteUnits(const std::string& count, const std::vector<std::string>& paths) {
    std::string text = "[Settings]\nNumberOfBSUs=" + count + "\n[BSU-List]\n";
    for (size_t i = 0; i < paths.size(); ++i) text += std::to_string(i + 1) + "=" + paths[i] + "\n";
    WriteFile("BSUs.ini", text);
  }
  void WriteUnits(const std::vector<std::string>& paths) {
    WriteUnits(std::to_string(paths.size()), paths);
  }
  // Sound i is the file "wav<i>.wav" captioned "Sound <i>".
  void WriteExternals(const std::string& count, int written) {
    std::string list = "[Sound-List]\n", menu = "[Sound-Menu]\n";
    for (int i = 1; i <= written; ++i) {
      list += std::to_string(i) + "=/sounds/wav" + std::to_string(i) + ".wav\n";
      menu += std::to_string(i) + "=Sound " + std::to_string(i) + "\n";
    }
    WriteFile("External.ini", "[Settings]\nNumberOfSounds=" + count + "\n" + list + menu);
  }

  tk::TMenuItem* TopLevel(int index) { return popup_->Items()->Items(index); }
  int TopLevelCount() { return popup_->Items()->Count(); }
  tk::TMenuItem* External() { return TopLevel(5); }

  TempFolder folder_;
  settings::SharedState state_;
  tk::TComponent owner_{nullptr};
  tk::TPopupMenu* popup_ = nullptr;
  std::unique_ptr<sounds::TCatalogue> catalogue_;
  // What the catalogue's timer restore does; nothing unless a test sets it.
  std::function<void()> restoreTimer_;
};
