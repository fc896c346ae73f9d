// QtHelpWindow: shows help pages in a QTextBrowser, in French. Outside
// components, help viewer, Qt binding.
#include "components/aide/qt/qt_help_window.h"

#include <QFileInfo>
#include <QLocale>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace components::qt {

namespace {

QUrl PageUrl(const std::string& htmlPath) {
  const QString chemin = QString::fromStdString(htmlPath);
  const qsizetype diese = chemin.lastIndexOf('#');
  // An anchor follows the last "#" only when what is before it is a file.
  if (diese > 0 && QFileInfo(chemin.left(diese)).isFile()) {
    QUrl url = QUrl::fromLocalFile(chemin.left(diese));
    url.setFragment(chemin.mid(diese + 1));
    return url;
  }
  return QUrl::fromLocalFile(chemin);
}

}  // namespace

QtHelpWindow::QtHelpWindow() = default;

QtHelpWindow::~QtHelpWindow() { delete window_.data(); }

void QtHelpWindow::ensureWindow(const std::string& title) {
  if (window_.isNull()) {
    window_ = new QWidget(nullptr, Qt::Window);
    window_->setLocale(QLocale(QLocale::French, QLocale::France));
    window_->resize(720, 560);
    auto* layout = new QVBoxLayout(window_);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(window_);
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);  // help pages link only to each other
    browser_->setAccessibleName(QStringLiteral("Aide"));
    layout->addWidget(browser_);
  }
  window_->setWindowTitle(QString::fromStdString(title));
}

void QtHelpWindow::ShowPage(const std::string& htmlPath, const std::string& title) {
  ensureWindow(title);
  const QUrl url = PageUrl(htmlPath);
  browser_->setSearchPaths({QFileInfo(url.toLocalFile()).absolutePath()});
  browser_->setSource(url);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void QtHelpWindow::ShowMessage(const std::string& text, const std::string& title) {
  ensureWindow(title);
  browser_->setPlainText(QString::fromStdString(text));
  window_->show();
  window_->raise();
}

void QtHelpWindow::Close() {
  if (window_.isNull()) return;  // never opened, or already destroyed
  window_->close();
}

}  // namespace components::qt
