#include "toolkit/Menus.h"

#include <gtest/gtest.h>

#include "rtl/RuntimeErrors.h"
#include "support/ScriptedDialogs.h"

namespace tk {
namespace {

// Counts destructions, so tests see every entry die exactly once.
struct CountedItem : TMenuItem {
  CountedItem(TComponent* owner, int* deaths) : TMenuItem(owner), deaths_(deaths) {}
  ~CountedItem() override { ++*deaths_; }
  int* deaths_;
};

TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TComponent* owner = nullptr) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

TEST(MenuItem, CheckingARadioItemUnchecksOnlyItsGroupAmongItsSiblings) {
  TPopupMenu menu(nullptr);
  TMenuItem* timer = AddItem(menu.Items(), "Timer");
  std::vector<TMenuItem*> modes;
  for (const char* caption : {"Off", "2 Minutes", "5 Minutes"}) {
    modes.push_back(AddItem(timer, caption));
    modes.back()->SetRadioItem(true);
  }
  TMenuItem* other = AddItem(timer, "Other group");
  other->SetRadioItem(true);
  other->SetGroupIndex(1);
  other->SetChecked(true);
  TMenuItem* plain = AddItem(timer, "Plain");
  plain->SetChecked(true);
  TMenuItem* cousin = AddItem(menu.Items(), "Cousin");
  cousin->SetRadioItem(true);
  cousin->SetChecked(true);

  modes[0]->SetChecked(true);
  modes[2]->SetChecked(true);
  EXPECT_FALSE(modes[0]->Checked());
  EXPECT_FALSE(modes[1]->Checked());
  EXPECT_TRUE(modes[2]->Checked());
  EXPECT_TRUE(other->Checked());
  EXPECT_TRUE(plain->Checked());
  EXPECT_TRUE(cousin->Checked());

  // Unchecking leaves the group without a mark rather than moving it.
  modes[2]->SetChecked(false);
  EXPECT_FALSE(modes[0]->Checked() || modes[1]->Checked() || modes[2]->Checked());

  // A checked radio item joining the group takes the mark.
  auto* late = new TMenuItem(nullptr);
  late->SetRadioItem(true);
  late->SetChecked(true);
  modes[1]->SetChecked(true);
  timer->Insert(0, late);
  EXPECT_EQ(timer->IndexOf(late), 0);
  EXPECT_FALSE(modes[1]->Checked());
}

TEST(MenuItem, ClickRunsTheHandlerOnlyWhenEnabledAndLeavesTheMarkAlone) {
  TMenuItem item(nullptr);
  item.SetRadioItem(true);
  int clicks = 0;
  TComponent* sender = nullptr;
  item.OnClick = [&](TComponent* s) {
    ++clicks;
    sender = s;
  };
  item.Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, &item);
  EXPECT_FALSE(item.Checked());
  item.SetEnabled(false);
  item.Click();
  EXPECT_EQ(clicks, 1);
}

TEST(MenuItem, DestroyingAnEntryDetachesItAndDestroysItsEntries) {
  int deaths = 0;
  TComponent form(nullptr);
  TPopupMenu menu(&form);
  auto* unit = new CountedItem(&form, &deaths);
  menu.Items()->Add(unit);
  for (int i = 0; i < 3; ++i) unit->Add(new CountedItem(&form, &deaths));
  AddItem(menu.Items(), "After", &form);
  const int owned = form.ComponentCount();

  delete unit;
  EXPECT_EQ(deaths, 4);
  EXPECT_EQ(menu.Items()->Count(), 1);
  EXPECT_EQ(menu.Items()->Items(0)->Caption(), "After");
  EXPECT_EQ(form.ComponentCount(), owned - 4);
}

TEST(MenuItem, AnOwnerDestroysNestedEntriesOnceWhateverTheirCreationOrder) {
  int deaths = 0;
  {
    TComponent form(nullptr);
    TPopupMenu* menu = new TPopupMenu(&form);
    // Entries made before their parent and after it, two levels deep.
    auto* early = new CountedItem(&form, &deaths);
    auto* unit = new CountedItem(&form, &deaths);
    auto* late = new CountedItem(&form, &deaths);
    auto* deep = new CountedItem(&form, &deaths);
    menu->Items()->Add(unit);
    unit->Add(early);
    unit->Add(late);
    late->Add(deep);
    // Not owned by anyone: it goes with its parent.
    unit->Add(new CountedItem(nullptr, &deaths));
  }
  EXPECT_EQ(deaths, 5);
}

TEST(MenuItem, AnEntryHasOneParentAndIsFoundByItsCaption) {
  TPopupMenu menu(nullptr);
  TMenuItem* quit = AddItem(menu.Items(), "&Quit Program");
  AddItem(menu.Items(), "Salt && Pepper");
  EXPECT_THROW(menu.Items()->Add(quit), rtl::Exception);
  EXPECT_EQ(menu.Items()->Find("Quit Program"), quit);
  EXPECT_EQ(menu.Items()->Find("Q&uit Program"), quit);
  ASSERT_NE(menu.Items()->Find("Salt && Pepper"), nullptr);
  EXPECT_EQ(menu.Items()->Find("Nothing"), nullptr);
  menu.Items()->Remove(quit);
  EXPECT_EQ(quit->Parent(), nullptr);
  menu.Items()->Add(quit);
  EXPECT_EQ(menu.Items()->IndexOf(quit), 1);
}

TEST(Hotkeys, DoubledAmpersandIsTextNotAMark) {
  EXPECT_EQ(StripHotkey("&Yes"), "Yes");
  EXPECT_EQ(StripHotkey("No File Name && No Menu Label"), "No File Name & No Menu Label");
  EXPECT_EQ(StripHotkey("A&&&B"), "A&B");
  EXPECT_EQ(StripHotkey("trailing&"), "trailing&");
  EXPECT_EQ(HotkeyOf("&Yes"), 'Y');
  EXPECT_EQ(HotkeyOf("Salt && &Pepper"), 'P');
  EXPECT_EQ(HotkeyOf("Salt && Pepper"), '\0');
  EXPECT_EQ(HotkeyOf("plain"), '\0');
}

TEST(PopupMenu, TheChosenEntryClicksAfterTheMenuClosedUnderTheErrorGuard) {
  ScriptedDialogs dialogs;
  TPopupMenu menu(nullptr);
  TMenuItem* bad = AddItem(menu.Items(), "Bad");
  std::vector<std::string> events;
  bad->OnClick = [&](TComponent*) {
    events.push_back("click");
    throw rtl::Exception("'x' is not a valid integer value");
  };
  menu.OnPopup = [&](TComponent*) { events.push_back("popup"); };
  TMenuPresenter previous = SetMenuPresenter([&](TPopupMenu& m, int x, int y) -> TMenuItem* {
    events.push_back("shown at " + std::to_string(x) + "," + std::to_string(y));
    EXPECT_EQ(&m, &menu);
    return m.Items()->Find("Bad");
  });
  menu.Popup(30, 40);
  SetMenuPresenter(previous);

  EXPECT_EQ(events, (std::vector<std::string>{"popup", "shown at 30,40", "click"}));
  {
    TComponent tray(nullptr);
    menu.SetPopupComponent(&tray);
    EXPECT_EQ(menu.PopupComponent(), &tray);
  }
  EXPECT_EQ(menu.PopupComponent(), nullptr);
  EXPECT_EQ(dialogs.Texts(ScriptedDialogs::Kind::Error),
            std::vector<std::string>{"'x' is not a valid integer value"});
}

}  // namespace
}  // namespace tk
