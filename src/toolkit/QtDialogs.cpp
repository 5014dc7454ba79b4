#include "toolkit/QtDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "toolkit/Application.h"

namespace tk {

namespace {

QString Q(const std::string& text) {
  return QString::fromLocal8Bit(text);
}

// Without a parent the box centres itself on the screen; plain text keeps "<" literal.
void Prepare(QMessageBox& box, const QString& title, QMessageBox::Icon icon,
             const std::string& text) {
  box.setWindowTitle(title);
  box.setIcon(icon);
  box.setTextFormat(Qt::PlainText);
  box.setText(Q(text));
  box.setWindowModality(Qt::ApplicationModal);
}

QString QtFilter(const TFileFilter& filter) {
  QString patterns = Q(filter.Patterns);
  patterns.replace(';', ' ');
  return Q(filter.Description) + " (" + patterns.simplified() + ")";
}

// A start folder that does not exist would leave its name in the File name box, where
// Open then reports it missing; its nearest existing parent is shown instead.
QString ExistingFolder(QString folder) {
  folder = QDir::cleanPath(folder);
  while (!QFileInfo(folder).isDir()) {
    const QString parent = QFileInfo(folder).path();
    if (parent == folder) break;
    folder = parent;
  }
  return folder;
}

}  // namespace

bool TQtDialogs::Confirm(const std::string& question) {
  QMessageBox box;
  Prepare(box, "Confirm", QMessageBox::Question, ShownText(question));
  QPushButton* yes = box.addButton("&Yes", QMessageBox::YesRole);
  QPushButton* no = box.addButton("&No", QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

void TQtDialogs::Inform(const std::string& message) {
  QMessageBox box;
  Prepare(box, "Information", QMessageBox::Information, ShownText(message));
  box.setDefaultButton(box.addButton("OK", QMessageBox::AcceptRole));
  box.exec();
}

void TQtDialogs::ShowError(const std::string& text) {
  QMessageBox box;
  Prepare(box, Q(Application().Title()), QMessageBox::Critical, text);
  box.setDefaultButton(box.addButton("OK", QMessageBox::AcceptRole));
  box.exec();
}

std::optional<std::string> TQtDialogs::OpenFile(const TOpenDialogOptions& options) {
  const QString startDir = QDir::currentPath();
  QString initial = Q(options.InitialDir);
  initial.replace('\\', '/');  // folders written the Windows way, e.g. ".\BSUs"
  QFileDialog dialog(nullptr, Q(options.Title),
                     ExistingFolder(QDir::current().absoluteFilePath(initial)));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(options.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  QStringList filters;
  for (const TFileFilter& f : options.Filters) filters << QtFilter(f);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!options.FileName.empty()) dialog.selectFile(Q(options.FileName));
  const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  QDir::setCurrent(startDir);
  if (!chosen) return std::nullopt;
  const std::string path =
      QDir::cleanPath(dialog.selectedFiles().first()).toLocal8Bit().toStdString();
  if (!options.RestoreCurrentDir) QDir::setCurrent(Q(FolderOf(path)));
  return path;
}

}  // namespace tk
