// StateDump: controls of a form written as JSON text.
// Headless binding of the named-controls layer.
#include "forms/headless/state_dump.h"

#include <cstdio>

#include "forms/utf8_text.h"

namespace forms::headless {

namespace {
void AppendEscape(std::string& out, unsigned char c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
  out += buf;
}

const char* Bool(bool b) { return b ? "true" : "false"; }
}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t pos = 0; pos < text.size();) {
    const auto c = static_cast<unsigned char>(text[pos]);
    const std::size_t len = utf8::SequenceLength(text, pos);
    if (len > 1) {
      out.append(text.substr(pos, len));
      pos += len;
      continue;
    }
    ++pos;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          AppendEscape(out, c);  // control character, or a byte outside UTF-8
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::TextBox: return "TextBox";
    case Kind::ComboBox: return "ComboBox";
    case Kind::ListBox: return "ListBox";
    case Kind::Button: return "Button";
    case Kind::Label: return "Label";
    case Kind::Frame: return "Frame";
    case Kind::CheckBox: return "CheckBox";
    case Kind::VScrollBar: return "VScrollBar";
    case Kind::Menu: return "Menu";
    case Kind::MenuItem: return "MenuItem";
    case Kind::Embedded: return "Embedded";
  }
  return "?";
}

namespace {
std::string ControlJson(const Control& c) {
  std::string out = "{\"path\":" + JsonString(c.Path());
  out += ",\"kind\":\"" + std::string(KindName(c.kind())) + "\"";
  out += ",\"text\":" + JsonString(c.Text());
  out += std::string(",\"enabled\":") + Bool(c.Enabled());
  out += std::string(",\"visible\":") + Bool(c.Visible());
  out += std::string(",\"usable\":") + Bool(c.IsUsable());
  if (c.ReadOnly()) out += ",\"readOnly\":true";
  if (c.kind() == Kind::ComboBox || c.kind() == Kind::ListBox) {
    out += ",\"items\":[";
    for (int i = 0; i < c.ListCount(); ++i) out += (i > 0 ? "," : "") + JsonString(c.List(i));
    out += "],\"listIndex\":" + std::to_string(c.ListIndex());
  }
  if (c.kind() == Kind::CheckBox || c.kind() == Kind::VScrollBar) {
    out += ",\"value\":" + std::to_string(c.Value());
  }
  if (c.kind() == Kind::VScrollBar) out += ",\"max\":" + std::to_string(c.Max());
  out += std::string(",\"focused\":") + Bool(c.Focused()) + "}";
  return out;
}
}  // namespace

std::string StateDump(const Form& form) {
  std::string out = "{\"form\":" + JsonString(form.Name());
  out += ",\"caption\":" + JsonString(form.Caption());
  out += std::string(",\"enabled\":") + Bool(form.Enabled());
  out += std::string(",\"unloaded\":") + Bool(form.IsUnloaded());
  out += ",\"focused\":";
  out += form.ActiveControl() != nullptr ? JsonString(form.ActiveControl()->Path()) : "null";
  out += ",\"controls\":[";
  bool first = true;
  for (const auto& c : form.AllControls()) {
    if (!first) out += ",\n";
    first = false;
    out += ControlJson(*c);
  }
  out += "]}";
  return out;
}

}  // namespace forms::headless
