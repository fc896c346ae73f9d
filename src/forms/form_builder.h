// Laying out a form built in code: one line per control, its place, its tab
// index and its caption. Forms layer.
#pragma once

#include "forms/control.h"
#include "forms/form.h"

namespace forms {

// Adds a control to `form` at `place` with tab index `tab`; a non-empty
// `text` becomes its text or caption. Returns the control, owned by the form.
inline Control& AddAt(Form& form, Kind kind, const char* name, Rect place, int tab,
                      const char* text = "") {
  Control& c = form.Add(kind, name, place);
  c.TabIndex = tab;
  if (*text != '\0') c.SetText(text);
  return c;
}

}  // namespace forms
