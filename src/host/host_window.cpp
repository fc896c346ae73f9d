// The demo host's window around the control. Demo host (Qt Widgets).
#include "host_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QVBoxLayout>

#include "forms/qt/widget_factory.h"

namespace host {

HostWindow::HostWindow(forms::Form& form, forms::Services& services, const QString& header,
                       QWidget* parent)
    : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Paie — Centres URSSAF"));
  // The menus and the header line in the control's family, at the
  // desktop's size: one typeface across the window.
  QFont family = font();
  family.setFamily(forms::qt::ScreenFontFamily());
  setFont(family);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(8, 6, 8, 8);
  layout->setSpacing(6);

  auto* line = new QLabel(header, central);
  line->setObjectName(QStringLiteral("host_header"));
  line->setTextFormat(Qt::PlainText);
  layout->addWidget(line);
  auto* rule = new QFrame(central);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(rule);

  view_ = new forms::qt::QtFormView(form, services, central);
  view_->setFixedSize(view_->sizeHint());
  layout->addWidget(view_, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addStretch(1);
  setCentralWidget(central);
  buildMenus();
}

void HostWindow::buildMenus() {
  QMenu* fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
  fichier->addAction(QStringLiteral("&Quitter"), this, &QWidget::close);
  QMenu* aide = menuBar()->addMenu(QStringLiteral("&Aide"));
  aide->addAction(QStringLiteral("À &propos"), this, [this] {
    QMessageBox::about(this, QStringLiteral("À propos"),
                       QStringLiteral("Démonstration du contrôle des centres URSSAF "
                                      "(Morvanel.Ctr_Urssaf).\nClic droit sur le contrôle : "
                                      "menu « Aide »."));
  });
}

void HostWindow::closeEvent(QCloseEvent* event) {
  if (leaving_) {
    event->accept();
    return;
  }
  if (closeQuery_ && !closeQuery_()) {
    event->ignore();
    return;
  }
  leaving_ = true;
  event->accept();
  emit closed();
}

}  // namespace host
