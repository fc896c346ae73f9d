// QtServices: message boxes, pointer, menus, modal forms and help on Qt.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/qt_services.h"

#include <utility>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/qt/message_box.h"
#include "forms/qt/modal_dialog.h"
#include "forms/qt/qt_form_view.h"
#include "forms/qt/qt_units.h"
#include "forms/user_input.h"

namespace forms::qt {

QtServices::QtServices(QWidget* controlView) : controlView_(controlView) {}

namespace {

// A top-level help window that deletes itself when closed.
QTextBrowser* NewHelpWindow() {
  auto* window = new QTextBrowser();
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setOpenExternalLinks(true);
  window->resize(640, 480);
  return window;
}

void Present(QTextBrowser* window) {
  window->show();
  window->raise();
}

}  // namespace

QtServices::~QtServices() {
  if (hourglass_) QGuiApplication::restoreOverrideCursor();
  delete help_.data();
  delete page_.data();
  delete progress_.data();
}

void QtServices::Progress(std::string_view text, int done, int total) {
  if (done >= total) {
    delete progress_.data();
    progressClock_.invalidate();
    return;
  }
  if (!progressClock_.isValid()) progressClock_.start();
  if (!progress_) {
    if (progressClock_.elapsed() < kProgressDelayMs) return;
    progress_ = new QProgressDialog(dialogParent());
    progress_->setWindowTitle(QStringLiteral("Message TARVELINE"));
    progress_->setCancelButton(nullptr);  // a move half-done is not undone
    progress_->setMinimumDuration(0);
    progress_->setWindowModality(Qt::ApplicationModal);
  }
  progress_->setLabelText(ToQString(text));
  progress_->setMaximum(total);
  progress_->setValue(done);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QProgressDialog* QtServices::ProgressWindow() const { return progress_.data(); }

QWidget* QtServices::dialogParent() const {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return controlView_ ? controlView_->window() : nullptr;
}

MsgAnswer QtServices::MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                             std::string_view title) {
  const std::unique_ptr<QMessageBox> box =
      BuildMessageBox(text, buttons, icon, title, dialogParent());
  box->exec();
  return AnswerOf(*box, buttons);
}

void QtServices::Beep() { QApplication::beep(); }

void QtServices::SetMousePointer(MousePointer pointer) {
  // Kept balanced: the hourglass is pushed once and popped once.
  if (pointer == MousePointer::Hourglass && !hourglass_) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    hourglass_ = true;
  } else if (pointer == MousePointer::Default && hourglass_) {
    QGuiApplication::restoreOverrideCursor();
    hourglass_ = false;
  }
}

void QtServices::DoEvents() { QCoreApplication::processEvents(); }

void QtServices::PopupMenu(Control& menu, float x, float y) {
  Form& form = menu.form();
  QtFormView* view = QtFormView::ViewOf(form);
  QMenu popup(view);
  popup.setObjectName(ToQString(menu.Name()));
  std::vector<std::pair<QAction*, Control*>> items;
  for (const auto& control : form.AllControls()) {
    if (control->kind() != Kind::MenuItem || control->Container() != &menu || !control->Visible())
      continue;
    QAction* action = popup.addAction(ToQString(control->Text()));
    action->setObjectName(ToQString(control->Name()));
    action->setEnabled(control->Enabled() && menu.Enabled());
    items.emplace_back(action, control.get());
  }
  if (items.empty()) return;
  const QPoint at = view != nullptr ? view->mapToGlobal(view->TwipsToPoint(x, y)) : QCursor::pos();
  QAction* chosen = popup.exec(at);
  if (chosen == nullptr) return;
  for (const auto& [action, item] : items) {
    if (action != chosen) continue;
    if (view != nullptr) {
      view->input().Click(*item);
    } else {
      UserInput(form, *this).Click(*item);
    }
    return;
  }
}

void QtServices::ShowModal(Form& form) {
  ModalDialog dialog(form, *this, dialogParent());
  dialog.Run();
}

void QtServices::ShowHelpTopic(const std::string& helpFile, int context) {
  if (!help_) {
    help_ = NewHelpWindow();
    help_->setWindowTitle(QStringLiteral("Aide"));
  }
  const QString path = ToQString(helpFile);
  if (QFileInfo::exists(path)) {
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    // Topics are the anchors "contexte-N" of the HTML help file.
    if (context != 0) url.setFragment(QStringLiteral("contexte-%1").arg(context));
    help_->setSource(url, QTextDocument::HtmlResource);
  } else {
    help_->setPlainText(QStringLiteral("Le fichier d'aide est introuvable : ") + path);
  }
  Present(help_);
}

void QtServices::ShowHelpPage(const std::string& htmlPath, const std::string& title) {
  if (!page_) page_ = NewHelpWindow();
  page_->setWindowTitle(ToQString(title));
  QString path = ToQString(htmlPath);
  QString anchor;
  // An anchor follows the last "#" only when what is before it is a file.
  if (const qsizetype hash = path.lastIndexOf(QLatin1Char('#'));
      hash > 0 && QFileInfo(path.left(hash)).isFile()) {
    anchor = path.mid(hash + 1);
    path.truncate(hash);
  }
  if (QFileInfo(path).isFile()) {
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (!anchor.isEmpty()) url.setFragment(anchor);
    page_->setSearchPaths({QFileInfo(path).absolutePath()});
    page_->setSource(url, QTextDocument::HtmlResource);
  } else {
    page_->setPlainText(QStringLiteral("La page d'aide est introuvable : ") + path);
  }
  Present(page_);
}

void QtServices::CloseHelp(const std::string& /*helpFile*/) {
  // Both windows delete themselves.
  if (help_) help_->close();
  if (page_) page_->close();
}

QTextBrowser* QtServices::HelpWindow() const { return help_.data(); }

QTextBrowser* QtServices::HelpPageWindow() const { return page_.data(); }

void QtServices::UnloadParentForm() {
  if (!controlView_) return;
  QTimer::singleShot(0, controlView_->window(), &QWidget::close);
}

}  // namespace forms::qt
