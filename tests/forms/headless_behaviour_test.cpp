// Runs the shared behaviour cases through UserInput, as the headless binding
// and the scenario runner deliver user actions.
#include <memory>

#include "binding_behaviour.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"

namespace forms::suite {
namespace {

class HeadlessDriver : public BindingDriver {
 public:
  explicit HeadlessDriver(Form& form) : input_(form, services_) {}
  void Focus(Control& c) override { input_.Focus(c); }
  void Type(Control& c, std::string_view text) override { input_.Type(c, text); }
  void Key(Control& c, int key) override { input_.Key(c, key); }
  void Paste(Control& c, std::string_view text) override { input_.Paste(c, text); }
  void Click(Control& c) override { input_.Click(c); }
  void Pick(Control& c, int index) override { input_.Pick(c, index); }
  void DblClick(Control& c, int index) override { input_.DblClick(c, index); }
  void Scroll(Control& c, int value) override { input_.Scroll(c, value); }
  void MouseDown(Control* c, int button) override { input_.MouseDown(c, button); }

 private:
  headless::HeadlessServices services_;  // no case shows a message
  UserInput input_;
};

INSTANTIATE_TEST_SUITE_P(Headless, BindingBehaviour,
                         ::testing::Values(DriverParam{
                             "Headless",
                             [](Form& f) -> std::unique_ptr<BindingDriver> {
                               return std::make_unique<HeadlessDriver>(f);
                             }}),
                         DriverParamName);

}  // namespace
}  // namespace forms::suite
