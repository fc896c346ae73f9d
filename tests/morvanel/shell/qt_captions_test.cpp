// The control's captions drawn by the Qt binding (offscreen) fit the boxes
// the screen gives them: no label, button or check box shows a cut text.
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "forms/qt/qt_form_view.h"
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

// Room left for the text inside a push button once the style's frame and
// margins are taken.
int ButtonTextRoom(QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  option.features =
      button.isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
  if (button.autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
  return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
}

// What is cut of `widget`'s caption, "" when it fits.
std::string Cut(QWidget& widget) {
  const QFontMetrics metrics = widget.fontMetrics();
  if (auto* label = qobject_cast<QLabel*>(&widget)) {
    const QRect room = label->contentsRect();
    const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, room.width(), 10000), flags, label->text());
    if (needed.width() > room.width() || needed.height() > room.height()) {
      return "needs " + std::to_string(needed.width()) + "x" + std::to_string(needed.height()) +
             ", has " + std::to_string(room.width()) + "x" + std::to_string(room.height());
    }
  } else if (auto* check = qobject_cast<QCheckBox*>(&widget)) {
    if (check->sizeHint().width() > check->width()) {
      return "needs " + std::to_string(check->sizeHint().width()) + ", has " +
             std::to_string(check->width());
    }
  } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
    const int needed = metrics.horizontalAdvance(button->text());
    if (needed > ButtonTextRoom(*button)) {
      return "needs " + std::to_string(needed) + ", has " + std::to_string(ButtonTextRoom(*button));
    }
  }
  return {};
}

TEST(QtCaptionsTest, EveryCaptionOfTheScreenFitsItsBox) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char programme[] = "shell_qt_tests";
  char* argv[] = {programme, nullptr};
  QApplication app(argc, argv);
  forms::headless::HeadlessServices services;
  shell::Ctr_Urssaf ctl(services);
  forms::qt::QtFormView vue(ctl.Controls(), services);
  vue.show();
  QApplication::processEvents();

  int captions = 0;
  for (const auto& control : ctl.Controls().AllControls()) {
    QWidget* widget = vue.WidgetOf(*control);
    if (widget == nullptr || control->Text().empty()) continue;
    if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QAbstractButton*>(widget)) continue;
    ++captions;
    EXPECT_EQ(Cut(*widget), "") << control->Path() << " \"" << control->Text() << "\"";
  }
  EXPECT_GE(captions, 30) << "labels, buttons and the check box of the screen and its address part";

  // The rate lists keep a fixed pitch so that their columns line up.
  const QFontInfo dates(vue.WidgetOf(ctl.Controls().Get("Lst_Date"))->font());
  EXPECT_TRUE(dates.fixedPitch()) << dates.family().toStdString();
  // The text scales with the boxes: the size is set for the dpi of the twips.
  const QFont texte = vue.WidgetOf(ctl.Controls().Get("Txt_NomCtrUrssaf"))->font();
  EXPECT_EQ(texte.pixelSize(), qRound(8.25 * vue.dpi() / 72.0));
}

}  // namespace
}  // namespace morvanel::testing
