#include "sounds/Catalogue.h"

#include <cstdio>
#include <mutex>

#include "ini/BigIni.h"
#include "settings/NumberedList.h"
#include "settings/SettingsFiles.h"
#include "sounds/SoundEntry.h"
#include "sounds/SoundUnitReader.h"
#include "toolkit/Menus.h"

namespace sounds {

namespace {

constexpr const char* kExternalMenuName = "MenuExternal";
// A submenu's first column holds 20 entries, every further column 21.
constexpr int kColumnBreakAt = 21;

// Counts a submenu's entries and tells which one starts a new column.
class ColumnCounter {
 public:
  bool Next() {
    const bool newColumn = counter_ == kColumnBreakAt;
    if (newColumn) counter_ = 0;
    ++counter_;
    return newColumn;
  }

 private:
  int counter_ = 1;
};

}  // namespace

TCatalogue::TCatalogue(settings::SharedState& state, tk::TComponent* owner,
                       tk::TMenuItem& externalMenu, tk::TMenuItem& unitMenusAfter,
                       std::function<void()> restoreTimer)
    : state_(state),
      owner_(owner),
      externalMenu_(externalMenu),
      unitMenusAfter_(unitMenusAfter),
      restoreTimer_(std::move(restoreTimer)),
      player_(state) {}

void TCatalogue::ReadSettings(tk::TComponent*) {
  ClearCatalogue();
  ReadUnits();
  ReadExternalSounds();
  restoreTimer_();
  // 5 for every full 20 playable entries, so a fresh random pick always exists.
  const int playable = static_cast<int>(state_.soundList.size()) - 1;
  state_.recentCapacity = 5 * (playable / 20);
}

void TCatalogue::ClearCatalogue() {
  state_.ResetLists();
  // A menu takes its entries with it.
  while (!unitMenus_.empty()) {
    delete unitMenus_.back();
    unitMenus_.pop_back();
  }
  for (int i = externalMenu_.Count() - 1; i >= 0; --i) delete externalMenu_.Items(i);
}

std::vector<tk::TMenuItem*> TCatalogue::SoundMenus() const {
  std::vector<tk::TMenuItem*> menus{&externalMenu_};
  menus.insert(menus.end(), unitMenus_.begin(), unitMenus_.end());
  return menus;
}

void TCatalogue::ReadUnits() {
  const std::string path = state_.PathOf(settings::kBsusIni);
  if (!settings::SettingsFileExists(path)) {
    settings::CreateDefaultBsus(state_.appFolder);
    return;
  }
  {
    ini::TBiggerIniFile ini(path);
    for (std::string& unit : settings::ReadUnitList(ini, state_.unitSlotLimit)) {
      std::lock_guard lock(state_.listsMutex);
      state_.unitList.push_back(std::move(unit));
    }
  }
  ReadSoundUnitsAhead({state_.unitList.begin() + 1, state_.unitList.end()});
  const int units = static_cast<int>(state_.unitList.size());
  for (int u = 1; u < units; ++u) ReadDLL(state_.unitList[u], u);
}

void TCatalogue::ReadExternalSounds() {
  const std::string path = state_.PathOf(settings::kExternalIni);
  if (!settings::SettingsFileExists(path)) {
    settings::CreateDefaultExternal(state_.appFolder);
    return;
  }
  ini::TBiggerIniFile ini(path);
  ColumnCounter column;
  for (const auto& sound : settings::ReadExternalList(ini, state_.externalSlotLimit)) {
    const int index = AppendSound(ExternalEntry(sound.path));
    AddSubMenu(kExternalMenuName, sound.caption, column.Next(), index);
  }
}

void TCatalogue::ReadDLL(const std::string& path, int index) {
  std::string why;
  const auto unit = ReadSoundUnit(path, &why);
  if (!unit) {
    // Its menu stays away; the line tells the user which unit and why (an empty slot
    // names none).
    if (!path.empty()) std::fprintf(stderr, "jabberwell: sound unit not read: %s\n", why.c_str());
    return;
  }
  const NameAndCaption header = SplitAtLastColon(unit->header);
  AddMainMenu(header.caption, header.name);
  ColumnCounter column;
  for (const std::string& clip : unit->clips) {
    const NameAndCaption parts = SplitAtLastColon(clip);
    const int entry = AppendSound(UnitEntry(parts.name, index));
    AddSubMenu(currentUnitMenuName_, parts.caption, column.Next(), entry);
  }
}

void TCatalogue::AddMainMenu(const std::string& caption, const std::string& identifier) {
  tk::TMenuItem* root = unitMenusAfter_.Parent();
  auto* item = new tk::TMenuItem(owner_);
  item->SetCaption(caption);
  item->SetName("Menu" + MenuIdentifier(identifier) + std::to_string(root->Count()));
  const tk::TMenuItem* previous = unitMenus_.empty() ? &unitMenusAfter_ : unitMenus_.back();
  root->Insert(root->IndexOf(previous) + 1, item);
  unitMenus_.push_back(item);
  currentUnitMenuName_ = item->Name();
}

void TCatalogue::AddSubMenu(const std::string& parentName, const std::string& caption,
                            bool newColumn, int index) {
  tk::TMenuItem* parent = FindSoundMenu(parentName);
  if (!parent) return;
  // Entries belong to their parent item, which destroys them with itself.
  auto* entry = new tk::TMenuItem(nullptr);
  entry->SetCaption(caption);
  entry->SetName("SubMenu" + std::to_string(parent->Count()));
  entry->SetTag(index);
  if (newColumn) entry->SetBreak(tk::TMenuBreak::mbBarBreak);
  entry->OnClick = [this](tk::TComponent* sender) { player_.MenuPlaySound(sender); };
  parent->Add(entry);
}

tk::TMenuItem* TCatalogue::FindSoundMenu(const std::string& name) const {
  if (externalMenu_.Name() == name) return &externalMenu_;
  for (tk::TMenuItem* menu : unitMenus_) {
    if (menu->Name() == name) return menu;
  }
  return nullptr;
}

int TCatalogue::AppendSound(std::string entry) {
  std::lock_guard lock(state_.listsMutex);
  state_.soundList.push_back(std::move(entry));
  return static_cast<int>(state_.soundList.size()) - 1;
}

}  // namespace sounds
