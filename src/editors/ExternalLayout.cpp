// The external sound editor's window and controls, and the wiring of its handlers.
#include <string>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "editors/ButtonGlyphs.h"
#include "editors/EditorWindow.h"
#include "editors/External.h"
#include "editors/StringGrid.h"
#include "ini/IniText.h"
#include "toolkit/Application.h"
#include "toolkit/ControlBuilders.h"

namespace editors {

TFormExternal::TFormExternal(tk::TComponent* owner, TEditorContext context)
    : tk::TForm(owner, new TEditorWindow()), context_(std::move(context)) {
  SetName("FormExternal");
  auto* window = static_cast<TEditorWindow*>(Widget());
  window->Attach(this);
  window->setObjectName("FormExternal");
  SetCaption("JBW v3 - External Sound List");
  SetClientSize(562, 343);
  tk::SetFormFont(window);
  BuildWhenNeeded([this, window] {
    CreateControls(window);
    ConnectHandlers();
  });

  OpenDialogWav.Title = "Find External Sound File (*.wav)";
  OpenDialogWav.Filters =
      tk::ParseFilter("Sound File (*.wav)|*.wav|All Sound Files|*.wav;*.flac;*.ogg;*.opus;*.mp3");
  OpenDialogWav.RestoreCurrentDir = true;
  OpenDialogWav.PathMustExist = true;
  OpenDialogWav.FileMustExist = true;
}

void TFormExternal::CreateControls(TEditorWindow* w) {
  StringGrid = tk::Place(new TStringGrid(w), "StringGrid", {8, 8, 545, 179});
  StringGrid->SetRowSelect(true);
  StringGrid->SetDimensions(3, context_.state->externalSlotLimit + 1);
  StringGrid->SetColWidths({25, 375, 120});

  Bevel1 = tk::MakeBevel(w, "Bevel1", {8, 192, 545, 105}, true);
  Label2 = tk::MakeLabel(w, "Label2", 16, 200, "Menu Label for Sound on Popup  Menu");
  EditMenuLabel = tk::MakeEdit(w, "EditMenuLabel", {16, 216, 225, 21},
                               "Enter Text for Menu Label on Popup Menu");
  // As much as the stored line of the last row ("10=" and the label) holds.
  const std::string lastKey = std::to_string(context_.state->externalSlotLimit) + "=";
  EditMenuLabel->setMaxLength(static_cast<int>(ini::kMaxText - lastKey.size()));
  Label1 = tk::MakeLabel(w, "Label1", 16, 248, "Full Path and Name for Sound File");
  BtnTest = tk::MakePictureButton(w, "BtnTest", {12, 262, 26, 25}, LoudspeakerGlyph(),
                                  "Click Here to Play Sound listed in Box on right.");
  EditFileName = tk::MakeEdit(w, "EditFileName", {40, 264, 401, 21},
                              "Enter Full Path and File Name of External Sound (wav file)");
  BtnOpen = tk::MakePictureButton(w, "BtnOpen", {440, 262, 25, 25}, OpenFolderGlyph(),
                                  "Browse for Wav Files");
  Bevel3 = tk::MakeBevel(w, "Bevel3", {288, 200, 73, 57}, false);
  Label5 = tk::MakeLabel(w, "Label5", 298, 203, "New Sound", {.underlined = true});
  BtnAdd =
      tk::MakeButton(w, "BtnAdd", {304, 224, 41, 25}, "Add", "Click Here to Add to Bottom of List");
  Bevel2 = tk::MakeBevel(w, "Bevel2", {368, 200, 177, 57}, false);
  Label3 =
      tk::MakeLabel(w, "Label3", 380, 203, "Manipulate External Sounds List", {.underlined = true});
  BtnEdit = tk::MakeButton(w, "BtnEdit", {381, 224, 41, 25}, "Edit",
                           "Click Here to Edit Currently Selected Row");
  BtnSave = tk::MakeButton(w, "BtnSave", {433, 224, 49, 25}, "Replace",
                           "Click Here to Replace Sound Info");
  BtnDelete = tk::MakeButton(w, "BtnDelete", {493, 224, 41, 25}, "Delete",
                             "Click Here to Delete Selected Row");
  BntOK = tk::MakeButton(w, "BntOK", {128, 304, 81, 33}, "OK", "Save Changes");
  BntOK->setIcon(CheckMarkGlyph());
  BntOK->setDefault(true);
  BtnCancel = tk::MakeButton(w, "BtnCancel", {352, 304, 81, 33}, "Cancel", "Cancel Changes");
  BtnCancel->setIcon(CrossGlyph());
  w->DefaultButton = BntOK;
  w->CancelButton = BtnCancel;

  tk::SetTabOrder({StringGrid, EditFileName, EditMenuLabel, BtnEdit, BtnSave, BtnDelete, BtnAdd,
                   BntOK, BtnCancel});
  StringGrid->setFocus();
}

void TFormExternal::ConnectHandlers() {
  auto* window = static_cast<TEditorWindow*>(Widget());
  window->OnShow = [this] { FormShow(); };
  tk::Connect(StringGrid, &TStringGrid::GridClick, window, [this] { StringGridClick(); });
  tk::Connect(StringGrid, &TStringGrid::GridDblClick, window, [this] { StringGridDblClick(); });
  tk::Connect(BtnOpen, &QToolButton::clicked, window, [this](bool) { BtnOpenClick(); });
  tk::Connect(BtnTest, &QToolButton::clicked, window, [this](bool) { BtnTestClick(); });
  tk::Connect(BtnAdd, &QPushButton::clicked, window, [this](bool) { BtnAddClick(); });
  tk::Connect(BtnEdit, &QPushButton::clicked, window, [this](bool) { StringGridDblClick(); });
  tk::Connect(BtnSave, &QPushButton::clicked, window, [this](bool) { BtnSaveClick(); });
  tk::Connect(BtnDelete, &QPushButton::clicked, window, [this](bool) { BtnDeleteClick(); });
  tk::Connect(BntOK, &QPushButton::clicked, window, [this](bool) { BntOKClick(); });
  tk::Connect(BtnCancel, &QPushButton::clicked, window, [this](bool) { BtnCancelClick(); });
}

}  // namespace editors
