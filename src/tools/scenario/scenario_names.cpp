// Resolution of control names over the stack of shown forms. Scenario runner.
#include "scenario_names.h"

#include <string>

namespace scenario {

using forms::Form;

Target Resolve(std::string_view name, const std::vector<Form*>& forms) {
  if (forms.empty()) throw NameError("no form is shown");
  if (name == "UserControl" || name == forms.front()->Name()) return {forms.front(), nullptr};
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    if ((*it)->Name() == name) return {*it, nullptr};
  }

  const std::size_t dot = name.find('.');
  if (dot != std::string_view::npos) {
    const std::string_view formName = name.substr(0, dot);
    const std::string_view inner = name.substr(dot + 1);
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
      if ((*it)->Name() != formName && !(formName == "UserControl" && *it == forms.front())) {
        continue;
      }
      if (forms::Control* c = (*it)->Find(inner)) return {*it, c};
      throw NameError("no control \"" + std::string(inner) + "\" on form " + (*it)->Name());
    }
  }

  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    if (forms::Control* c = (*it)->Find(name)) return {*it, c};
  }
  std::string searched;
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    searched += (searched.empty() ? "" : ", ") + (*it)->Name();
  }
  throw NameError("no control \"" + std::string(name) + "\" (forms shown: " + searched + ")");
}

}  // namespace scenario
