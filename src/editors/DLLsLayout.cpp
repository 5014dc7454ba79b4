// The unit registration editor's window and controls, and the wiring of its handlers.
#include <QFrame>
#include <QPushButton>

#include "editors/ButtonGlyphs.h"
#include "editors/DLLs.h"
#include "editors/EditorWindow.h"
#include "editors/StringGrid.h"
#include "toolkit/Application.h"
#include "toolkit/ControlBuilders.h"

namespace editors {

TFormDLLs::TFormDLLs(tk::TComponent* owner, TEditorContext context)
    : tk::TForm(owner, new TEditorWindow()), context_(std::move(context)) {
  SetName("FormDLLs");
  auto* window = static_cast<TEditorWindow*>(Widget());
  window->Attach(this);
  window->setObjectName("FormDLLs");
  SetCaption("JBW v3 - BSU Registration");
  SetClientSize(413, 176);
  tk::SetFormFont(window);
  BuildWhenNeeded([this, window] {
    CreateControls(window);
    ConnectHandlers();
  });

  OpenDialogDLL.Title = "Find Brakken Sound File (*.bsu)";
  // File names are case-sensitive here, so the lower-case extension is offered too.
  OpenDialogDLL.Filters = tk::ParseFilter("Brakken Sound File (*.BSUl)|*.BSU;*.bsu");
  OpenDialogDLL.RestoreCurrentDir = false;
  OpenDialogDLL.PathMustExist = true;
  OpenDialogDLL.FileMustExist = true;
}

void TFormDLLs::CreateControls(TEditorWindow* w) {
  StringGrid = tk::Place(new TStringGrid(w), "StringGrid", {8, 8, 401, 113});
  StringGrid->SetRowSelect(false);
  StringGrid->SetDimensions(2, context_.state->unitSlotLimit + 1);
  StringGrid->SetColWidths({25, 450});

  BtnAdd = tk::MakeButton(w, "BtnAdd", {16, 136, 49, 25}, "Add",
                          "Click Here to Browse and add new DLLs.");
  BtnReplace = tk::MakeButton(w, "BtnReplace", {88, 136, 49, 25}, "Replace",
                              "Click Here to Replace the Selected Row with a new DLL.");
  BtnRemove = tk::MakeButton(w, "BtnRemove", {160, 136, 49, 25}, "Remove",
                             "Click Here to Remove the Selected Row.");
  BtnOK = tk::MakeButton(w, "BtnOK", {232, 136, 75, 25}, "OK", "Save Changes");
  BtnOK->setIcon(CheckMarkGlyph());
  BtnOK->setDefault(true);
  BtnCancel = tk::MakeButton(w, "BtnCancel", {328, 136, 75, 25}, "Cancel", "Cancel Changes");
  BtnCancel->setIcon(CrossGlyph());
  Bevel1 = tk::MakeBevel(w, "Bevel1", {8, 128, 209, 41}, false);
  w->DefaultButton = BtnOK;
  w->CancelButton = BtnCancel;

  tk::SetTabOrder({StringGrid, BtnAdd, BtnRemove, BtnOK, BtnCancel, BtnReplace});
  StringGrid->setFocus();
}

void TFormDLLs::ConnectHandlers() {
  auto* window = static_cast<TEditorWindow*>(Widget());
  window->OnShow = [this] { FormShow(); };
  tk::Connect(BtnAdd, &QPushButton::clicked, window, [this](bool) { BtnAddClick(); });
  tk::Connect(BtnReplace, &QPushButton::clicked, window, [this](bool) { BtnReplaceClick(); });
  tk::Connect(BtnRemove, &QPushButton::clicked, window, [this](bool) { BtnRemoveClick(); });
  tk::Connect(BtnOK, &QPushButton::clicked, window, [this](bool) { BtnOKClick(); });
  tk::Connect(BtnCancel, &QPushButton::clicked, window, [this](bool) { BtnCancelClick(); });
}

}  // namespace editors
