#pragma once

#include "editors/EditorContext.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace editors {

class TEditorWindow;
class TStringGrid;

// The external sound editor: up to the external slot limit of WAV files, each with the
// text of its entry in the "External Sounds" submenu, kept in External.ini.
class TFormExternal : public tk::TForm {
 public:
  TFormExternal(tk::TComponent* owner, TEditorContext context);

  TStringGrid* StringGrid;
  QFrame* Bevel1;
  QLabel* Label2;
  QLineEdit* EditMenuLabel;
  QLabel* Label1;
  QToolButton* BtnTest;
  QLineEdit* EditFileName;
  QToolButton* BtnOpen;
  QFrame* Bevel3;
  QLabel* Label5;
  QPushButton* BtnAdd;
  QFrame* Bevel2;
  QLabel* Label3;
  QPushButton* BtnEdit;
  QPushButton* BtnSave;
  QPushButton* BtnDelete;
  QPushButton* BntOK;
  QPushButton* BtnCancel;
  tk::TOpenDialogOptions OpenDialogWav;

  // Handlers; an error they raise ends them and goes to the default error handler.
  void FormShow();
  void BtnOpenClick();
  void BtnAddClick();
  void StringGridDblClick();
  void StringGridClick();
  void BtnSaveClick();
  void BtnDeleteClick();
  void BtnTestClick();
  void BntOKClick();
  void BtnCancelClick();

 private:
  void CreateControls(TEditorWindow* window);
  void ConnectHandlers();
  // Both boxes filled; otherwise tells which is missing.
  bool BoxesFilled();
  int SlotLimit() const;

  TEditorContext context_;
};

}  // namespace editors
