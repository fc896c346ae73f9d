// What a clerk reads, at the scale factor CTest runs this at (QT_SCALE_FACTOR
// 1, 1.5 and 2), on the demo host's window and on both dialogs, with each
// centre of the demo database: every control lies inside its window with a
// margin, every text it shows fits it, every label sits on the line of the
// box beside it, one font family is used throughout; and every control has
// the name and the role a screen reader says.
// MORVANEL_FIT_SHOTS=DIR also saves what was checked as PNG files.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "demo/demo_seed.h"
#include "forms/qt/label_alignment.h"
#include "forms/qt/modal_dialog.h"
#include "forms/qt/qt_form_view.h"
#include "host_window.h"
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

using forms::qt::QtFormView;

constexpr int kMargin = 4;  // pixels between a control and its window's edge

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

std::string Px(int needed, int has) {
  return "needs " + std::to_string(needed) + " px, has " + std::to_string(has);
}

// What is cut of the text `widget` shows, "" when it is whole.
std::string Cut(QWidget& widget, QLineEdit* edit) {
  const QFontMetrics fm = widget.fontMetrics();
  if (edit != nullptr) {
    // A line edit draws inside its frame, 2 px in from each side.
    const int frame =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const int room = edit->width() - 2 * frame - 4;
    const int needed = edit->fontMetrics().horizontalAdvance(edit->text());
    if (needed > room) return "\"" + edit->text().toStdString() + "\" " + Px(needed, room);
    if (edit->fontMetrics().height() > edit->height() - 2 * frame) return "text cut below";
  } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
    const QRect room = label->contentsRect();
    const QRect needed = fm.boundingRect(QRect(0, 0, room.width(), 10000),
                                         label->wordWrap() ? Qt::TextWordWrap : 0, label->text());
    if (needed.width() > room.width()) return Px(needed.width(), room.width());
    if (needed.height() > room.height()) return "high " + Px(needed.height(), room.height());
  } else if (auto* check = qobject_cast<QCheckBox*>(&widget)) {
    if (check->sizeHint().width() > check->width())
      return Px(check->sizeHint().width(), check->width());
  } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const int room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    if (fm.horizontalAdvance(button->text()) > room)
      return Px(fm.horizontalAdvance(button->text()), room);
  } else if (auto* frame = qobject_cast<QGroupBox*>(&widget)) {
    if (fm.horizontalAdvance(frame->title()) > frame->width())
      return Px(fm.horizontalAdvance(frame->title()), frame->width());
  } else if (auto* list = qobject_cast<QListView*>(&widget)) {
    for (int row = 0; row < list->model()->rowCount(); ++row) {
      const QString line = list->model()->index(row, 0).data().toString();
      if (fm.horizontalAdvance(line) > list->viewport()->width())
        return "line \"" + line.toStdString() + "\"";
    }
  }
  return {};
}

// The baseline of a one-line text centred in `edit`, in `to`'s coordinates.
int BoxBaseline(const QLineEdit& edit, const QWidget& to) {
  const QFontMetrics fm = edit.fontMetrics();
  return edit.mapTo(&to, QPoint(0, 0)).y() + (edit.height() - fm.height() + 1) / 2 + fm.ascent();
}

// Every fault of the controls of `form` drawn by `view` in `window`.
std::vector<std::string> Faults(const std::string& when, QWidget& window, QtFormView& view,
                                const QString& family) {
  std::vector<std::string> out;
  const QRect inner = window.rect().marginsRemoved({kMargin, kMargin, kMargin, kMargin});
  for (const auto& control : view.form().AllControls()) {
    const forms::qt::ControlWidgets w = view.WidgetsOf(*control);
    if (w.widget == nullptr || !w.widget->isVisibleTo(&window)) continue;
    const std::string name = when + ", " + control->Path() + ": ";
    // An embedded control draws nothing of its own: its fields are checked.
    if (control->kind() != forms::Kind::Embedded &&
        !inner.contains(QRect(w.widget->mapTo(&window, QPoint(0, 0)), w.widget->size())))
      out.push_back(name + "runs into its window's edge");
    if (QWidget* parent = w.widget->parentWidget();
        parent != &view && !parent->rect().contains(w.widget->geometry()))
      out.push_back(name + "runs out of its frame");
    if (const std::string cut = Cut(*w.widget, w.edit); !cut.empty())
      out.push_back(name + "text cut, " + cut);
    if (control->font.name != "Courier New" && QFontInfo(w.widget->font()).family() != family)
      out.push_back(name + "drawn in " + QFontInfo(w.widget->font()).family().toStdString());
    auto* label = qobject_cast<QLabel*>(w.widget);
    const forms::Control* box =
        label != nullptr ? forms::qt::BoxBesideLabel(view.form(), *control) : nullptr;
    if (box == nullptr || label->wordWrap()) continue;
    const int labelBaseline =
        label->mapTo(&window, label->contentsRect().topLeft()).y() + label->fontMetrics().ascent();
    const int boxBaseline = BoxBaseline(*view.WidgetsOf(*box).edit, window);
    if (std::abs(labelBaseline - boxBaseline) > 1) {
      out.push_back(name + "text " + std::to_string(labelBaseline - boxBaseline) +
                    " px off the line of " + box->Name());
    }
  }
  return out;
}

void Shoot(QWidget& window, const std::string& name) {
  const QByteArray dir = qgetenv("MORVANEL_FIT_SHOTS");
  if (dir.isEmpty()) return;
  const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
  window.grab().save(QString::fromUtf8(dir) + "/" + QString::fromStdString(name) + "-x" + scale +
                     ".png");
}

// What a role-aware screen reader is told of a control of this kind.
QAccessible::Role RoleOf(forms::Kind kind) {
  switch (kind) {
    case forms::Kind::TextBox: return QAccessible::EditableText;
    case forms::Kind::ComboBox: return QAccessible::ComboBox;
    case forms::Kind::ListBox: return QAccessible::List;
    case forms::Kind::Button: return QAccessible::Button;
    case forms::Kind::Label: return QAccessible::StaticText;
    case forms::Kind::CheckBox: return QAccessible::CheckBox;
    case forms::Kind::VScrollBar: return QAccessible::ScrollBar;
    case forms::Kind::Frame:
    case forms::Kind::Embedded: return QAccessible::Grouping;
    case forms::Kind::Menu:
    case forms::Kind::MenuItem: break;
  }
  return QAccessible::NoRole;
}

// The name a screen reader says for `control`: its own accessible name, else
// its caption, else the caption of the label beside it.
std::string NameOf(const forms::Form& form, const forms::Control& control) {
  if (!control.AccessibleName.empty()) return control.AccessibleName;
  if (!control.Text().empty() && control.kind() != forms::Kind::TextBox &&
      control.kind() != forms::Kind::ComboBox)
    return control.Text();
  for (const auto& c : form.AllControls()) {
    if (c->kind() == forms::Kind::Label && forms::qt::BoxBesideLabel(form, *c) == &control)
      return c->Text();
  }
  return {};
}

std::vector<std::string> AccessibilityFaults(const std::string& when, QtFormView& view) {
  std::vector<std::string> out;
  for (const auto& control : view.form().AllControls()) {
    QWidget* widget = view.WidgetOf(*control);
    if (widget == nullptr) continue;  // menus: Qt's own menu when shown
    const std::string name = when + ", " + control->Path() + ": ";
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    if (a == nullptr) {
      out.push_back(name + "nothing for screen readers");
      continue;
    }
    // A combo is named by its value on Linux; its text part, which takes
    // the focus, says the field's name.
    QWidget* named =
        control->kind() == forms::Kind::ComboBox ? view.WidgetsOf(*control).edit : widget;
    const std::string said =
        QAccessible::queryAccessibleInterface(named)->text(QAccessible::Name).toStdString();
    if (said.empty() || said != NameOf(view.form(), *control))
      out.push_back(name + "named \"" + said + "\"");
    if (a->role() != RoleOf(control->kind()))
      out.push_back(name + "role " + std::to_string(a->role()));
  }
  return out;
}

std::shared_ptr<dba::Database> Seeded(const BaseTemporaire& base) {
  demo::SeedDemo(*base.db());
  return base.db();
}

// The demo host's window over the demo database, and the way to every
// screen a clerk reads: the search, each centre, its bank details, the
// transfer of centre 07's case records to each other centre.
class DemoWindow {
 public:
  using Check = std::function<void(const std::string& when, QWidget& window, QtFormView& view)>;

  DemoWindow()
      : base_(false),
        p_(Seeded(base_)),
        window_(p_.ctl->Controls(), p_.services, QStringLiteral("Client : DEMO")) {
    window_.show();
    p_.ctl->Init();
    Settle();
  }

  [[nodiscard]] QString HostFamily() const {
    return QFontInfo(window_.findChild<QLabel*>("host_header")->font()).family();
  }

  void Walk(const std::vector<std::string>& centres, const Check& check) {
    std::string code;
    const auto checked = [&](const std::string& when, QWidget& window, QtFormView& view) {
      Settle();
      Shoot(window, when);
      check(when, window, view);
    };
    // Each dialog is checked while it is open, then closed by its own button.
    p_.services.SetModalDriver([&](forms::Form& form) {
      forms::qt::ModalDialog dialog(form, p_.services, &window_);
      dialog.show();
      forms::UserInput& in = dialog.view().input();
      if (form.Name() == "Frm_AdresseBancaire") {
        checked("bank details of " + code, dialog, dialog.view());
        in.Click(form.Get("Cmd_Retour"));
        return;
      }
      forms::Control& sigles = form.Get("Cbo_CentreSuppr");
      for (int i = 0; i < sigles.ListCount(); ++i) {
        in.Pick(sigles, i);
        checked("transfer to " + sigles.List(i), dialog, dialog.view());
      }
      in.Click(form.Get("Cmd_AnnulerSuppr"));
    });
    checked("search", window_, window_.view());
    for (const std::string& c : centres) {
      code = c;
      p_.saisie.Type(p_["Txt_CodCtrUrssaf"], c);
      ASSERT_EQ(p_["Txt_CodCtrUrssaf"].Text(), c);
      checked("centre " + code, window_, window_.view());
      p_.saisie.Click(p_["Cmd_AdresseBancaire"]);
      if (&c != &centres.back()) p_.saisie.Click(p_["Cmd_Annuler"]);
    }
    // The largest amounts the box takes, once formatted.
    for (const char* amount : {"12345,00", "99999,99"}) {
      p_["Txt_MontForfait"].SetText(amount);
      checked(std::string("amount ") + amount, window_, window_.view());
    }
    p_.services.QueueAnswer(forms::MsgAnswer::Yes);  // "... supprimer cet article ?"
    p_.saisie.Click(p_["Cmd_Supprimer"]);
    ASSERT_EQ(p_.services.modalForms().back(), "Frm_SupprURSSAF");
  }

 private:
  BaseTemporaire base_;
  Poste p_;
  host::HostWindow window_;
};

std::string FirstOnes(const std::vector<std::string>& faults) {
  std::string s = std::to_string(faults.size()) + " faults, the first ones:\n";
  for (std::size_t i = 0; i < faults.size() && i < 25; ++i) s += "  " + faults[i] + "\n";
  return s;
}

QApplication* NewApplication() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char programme[] = "shell_qt_fit_tests";
  static char* argv[] = {programme, nullptr};
  return new QApplication(argc, argv);
}

TEST(QtFitTest, EveryControlOfTheScreenAndItsDialogsFitsWithTheDemoData) {
  const std::unique_ptr<QApplication> app(NewApplication());
  DemoWindow demo;
  const QString family = demo.HostFamily();
  std::vector<std::string> faults;
  demo.Walk({"01", "02", "03", "04", "05", "06", "07"},
            [&](const std::string& when, QWidget& window, QtFormView& view) {
              for (std::string& f : Faults(when, window, view, family))
                faults.push_back(std::move(f));
            });
  EXPECT_TRUE(faults.empty()) << FirstOnes(faults);
}

TEST(QtFitTest, EveryControlHasTheNameAndRoleAScreenReaderSays) {
  const std::unique_ptr<QApplication> app(NewApplication());
  DemoWindow demo;
  std::vector<std::string> faults;
  demo.Walk({"07"}, [&](const std::string& when, QWidget&, QtFormView& view) {
    for (std::string& f : AccessibilityFaults(when, view)) faults.push_back(std::move(f));
  });
  EXPECT_TRUE(faults.empty()) << FirstOnes(faults);
}

}  // namespace
}  // namespace morvanel::testing
