// CentreWriter: the screen's fields put back into the centre record being
// worked on. Shared state of the control: the centre data subsystem
// implements it and the workflow saves with it, neither including the other.
#pragma once

namespace dba {
class CItem;
}

namespace morvanel::state {

class CentreWriter {
 public:
  // The record now holding what the screen shows; the caller writes it.
  virtual dba::CItem& EcrireChamps() = 0;

 protected:
  ~CentreWriter() = default;
};

}  // namespace morvanel::state
