// What Designer shows of the control and what a form built with it holds:
// the class, its header and a default size, never the database, the client
// or the rights, which only the host may give at run time.
#include "ctr_urssaf_plugin.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include "morvanel/hosting/qt/ctr_urssaf_widget.h"

namespace designer {

CtrUrssafPlugin::CtrUrssafPlugin(QObject* parent) : QObject(parent) {}

QString CtrUrssafPlugin::name() const {
  return QStringLiteral("morvanel::hosting::qt::CtrUrssafWidget");
}

QString CtrUrssafPlugin::group() const { return QStringLiteral("Morvanel"); }

QString CtrUrssafPlugin::toolTip() const {
  return QStringLiteral("Centres URSSAF : fiche des centres et de leurs taux");
}

QString CtrUrssafPlugin::whatsThis() const {
  return QStringLiteral(
      "Le contrôle des centres URSSAF. L'application lui donne la base, le client et les "
      "droits de l'utilisateur, puis appelle Init (voir control()).");
}

QString CtrUrssafPlugin::includeFile() const {
  return QStringLiteral("morvanel/hosting/qt/ctr_urssaf_widget.h");
}

QIcon CtrUrssafPlugin::icon() const {
  // Drawn rather than shipped: one file less to install beside the plugin.
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0x1f, 0x4e, 0x8c));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(20);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("U"));
  painter.end();
  return QIcon(pixmap);
}

QWidget* CtrUrssafPlugin::createWidget(QWidget* parent) {
  return new morvanel::hosting::qt::CtrUrssafWidget(parent);
}

void CtrUrssafPlugin::initialize(QDesignerFormEditorInterface*) { initialized_ = true; }

QString CtrUrssafPlugin::domXml() const {
  return QStringLiteral(
      "<ui language=\"c++\">\n"
      " <widget class=\"morvanel::hosting::qt::CtrUrssafWidget\" name=\"ctrUrssaf\">\n"
      "  <property name=\"geometry\">\n"
      "   <rect><x>0</x><y>0</y><width>640</width><height>480</height></rect>\n"
      "  </property>\n"
      " </widget>\n"
      "</ui>\n");
}

}  // namespace designer
