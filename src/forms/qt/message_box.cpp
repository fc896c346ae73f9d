// Message boxes of the Qt binding.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "forms/qt/qt_units.h"
#include "forms/qt/widget_factory.h"

namespace forms::qt {
namespace {

// Qt translates its standard buttons only when a translator is installed;
// the texts are set here so that they are French whatever the locale.
QPushButton* AddButton(QMessageBox& box, QMessageBox::StandardButton which, const char* text) {
  QPushButton* button = box.addButton(which);
  button->setText(QString::fromUtf8(text));
  return button;
}

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(std::string_view text, MsgButtons buttons,
                                             MsgIcon icon, std::string_view title,
                                             QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(ToQString(title));
  // The screen's family: the question reads as part of the control.
  QFont font = box->font();
  font.setFamily(ScreenFontFamily());
  box->setFont(font);
  box->setText(ToQString(text));
  box->setTextFormat(Qt::PlainText);
  box->setIcon(icon == MsgIcon::Information ? QMessageBox::Information : QMessageBox::Warning);
  box->setWindowModality(Qt::ApplicationModal);
  switch (buttons) {
    case MsgButtons::OK:
      box->setDefaultButton(AddButton(*box, QMessageBox::Ok, "OK"));
      box->setEscapeButton(box->button(QMessageBox::Ok));
      break;
    case MsgButtons::YesNo: {
      QPushButton* yes = AddButton(*box, QMessageBox::Yes, "Oui");
      QPushButton* no = AddButton(*box, QMessageBox::No, "Non");
      box->setDefaultButton(DefaultAnswer(text, buttons) == MsgAnswer::No ? no : yes);
      box->setEscapeButton(no);
      break;
    }
    case MsgButtons::YesNoCancel:
      box->setDefaultButton(AddButton(*box, QMessageBox::Yes, "Oui"));
      AddButton(*box, QMessageBox::No, "Non");
      box->setEscapeButton(AddButton(*box, QMessageBox::Cancel, "Annuler"));
      break;
  }
  return box;
}

MsgAnswer AnswerOf(const QMessageBox& box, MsgButtons buttons) {
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Ok: return MsgAnswer::OK;
    default: break;
  }
  switch (buttons) {
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
    default: return MsgAnswer::OK;
  }
}

}  // namespace forms::qt
