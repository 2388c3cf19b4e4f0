// What the program hands over to the rest of the desktop: a text on the
// clipboard, a file through the toolkit's standard save dialog.
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstdio>

#include "ui/qt/internal.h"

namespace ui {

namespace {

// The path chosen in the save dialog (over the program's window, with the
// .csv ending added to a name typed without it), "" when it is cancelled.
std::string AskPath(const std::string& proposed) {
  if (S().save_dialog) return S().save_dialog(proposed);
  QWidget* over = S().forms.empty() ? nullptr : S().forms.front()->peer()->view.data();
  QFileDialog dialog(over, QStringLiteral("Enregistrer les mesures"), Q(proposed),
                     QStringLiteral("Fichier CSV (*.csv)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  if (dialog.exec() != QDialog::Accepted) return "";
  return dialog.selectedFiles().value(0).toStdString();
}

}  // namespace

void SetClipboard(const std::string& text) {
  QGuiApplication::clipboard()->setText(Q(text));
}

// The bytes go to a temporary file beside the chosen one, renamed over it
// once all are written: a failed save leaves a file of that name as it was.
void SaveFile(const std::string& name, const std::string& bytes) {
  // In the documents folder, or the home folder on a system without one.
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QDir(folder).exists()) folder = QDir::homePath();
  const std::string path = AskPath(folder.toStdString() + "/" + name);
  if (path.empty()) return;
  QSaveFile file(QString::fromStdString(path));
  const auto size = static_cast<qint64>(bytes.size());
  if (file.open(QIODevice::WriteOnly) && file.write(bytes.data(), size) == size && file.commit())
    return;
  std::fprintf(stderr, "kestor: the file %s could not be saved: %s\n", path.c_str(),
               file.errorString().toStdString().c_str());
}

}  // namespace ui
