// The control showing a centre with a 32767-line rate history while a Qt
// view mirrors its screen (offscreen), layout and repaint included: the
// frame limit holds for what a user sees. Benchmark program (bench/).
#include <QApplication>
#include <QByteArray>
#include <algorithm>

#include "control_fixture.h"
#include "forms/qt/qt_form_view.h"

namespace bench {
namespace {

// Made on first use and kept to the end of the program: the control's form
// is never shown by anything else, and nothing runs once the measurements
// are over. Deliberately never destroyed (the form goes first at exit).
forms::qt::QtFormView& ViewOf(ControlBench& b) {
  static QApplication* app = [] {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "morvanel_bench";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  (void)app;
  static auto* view = [&b] {
    auto* v = new forms::qt::QtFormView(b.ctl->Controls(), b.services);
    v->show();
    QCoreApplication::processEvents();
    return v;
  }();
  return *view;
}

}  // namespace

Measurement WithQtView(Measurement m) {
  const auto prepare = m.prepare;
  m.prepare = [prepare](BenchContext& ctx, int run) {
    (void)ViewOf(Control(ctx));
    if (prepare) prepare(ctx, run);
    QCoreApplication::processEvents();  // the screen as the step finds it drawn, untimed
  };
  const auto ours = m.ours;
  m.ours = [ours](BenchContext& ctx, int run) {
    std::string digest = ours(ctx, run);
    // The next frame: the posted layouts and the repaint of what changed.
    QCoreApplication::processEvents();
    return digest;
  };
  return m;
}

void RegisterQtHistoryMeasurements(Registry& r) {
  const auto shown = std::find_if(
      r.begin(), r.end(), [](const Measurement& m) { return m.name == "show_history_32767"; });
  if (shown == r.end()) return;  // not registered: nothing to mirror
  Measurement m = WithQtView(*shown);
  m.name = "qt_history_32767";
  m.target = 2.5;  // the Qt layout and repaint on top of the headless step
  r.push_back(std::move(m));
}

}  // namespace bench
