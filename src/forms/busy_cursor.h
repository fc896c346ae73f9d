// BusyCursor: the hourglass and the whole form disabled while a long step
// runs, lifted whatever ends the step. Named-controls layer (src/forms).
#pragma once

namespace forms {

class Form;
class Services;

class BusyCursor {
 public:
  BusyCursor(Services& services, Form& form);
  ~BusyCursor() { Release(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

  // Default pointer and form usable now, before the guard goes (a message
  // must come over a usable screen); later calls do nothing.
  void Release();

 private:
  Services& services_;
  Form& form_;
  bool held_ = true;
};

}  // namespace forms
