#pragma once

#include "editors/EditorContext.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

class QFrame;
class QPushButton;

namespace editors {

class TEditorWindow;
class TStringGrid;

// The sound unit registration editor: up to the unit slot limit of ".BSU" files, kept
// in BSUs.ini.
class TFormDLLs : public tk::TForm {
 public:
  TFormDLLs(tk::TComponent* owner, TEditorContext context);

  TStringGrid* StringGrid;
  QPushButton* BtnAdd;
  QPushButton* BtnReplace;
  QPushButton* BtnRemove;
  QPushButton* BtnOK;
  QPushButton* BtnCancel;
  QFrame* Bevel1;
  tk::TOpenDialogOptions OpenDialogDLL;

  // Handlers; an error they raise ends them and goes to the default error handler.
  void FormShow();
  void BtnAddClick();
  void BtnReplaceClick();
  void BtnRemoveClick();
  void BtnOKClick();
  void BtnCancelClick();

 private:
  void CreateControls(TEditorWindow* window);
  void ConnectHandlers();
  int SlotLimit() const;
  // Browses for a unit and puts it in the row, telling the user when it is none.
  void RegisterChosen(int row);

  TEditorContext context_;
};

}  // namespace editors
