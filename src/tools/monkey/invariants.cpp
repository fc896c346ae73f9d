// The rules checked after every action of a random session.
// Random clerk sessions (src/tools/monkey, no Qt).
#include "invariants.h"

#include <array>
#include <set>

#include "forms/control.h"
#include "forms/form.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "morvanel/state/instance_state.h"
#include "shown_form.h"

namespace monkey {

using forms::Control;
using forms::Form;

namespace {

constexpr const char* kCentres = "CENTREURSSAF";
constexpr const char* kCases = "ELTSPARTEMP";
// Files the control may change, with what may change in each.
constexpr std::array<const char*, 4> kWritable = {"CENTREURSSAF", "COMPTEUR", "ELTSPARTEMP",
                                                  "JOURNAL"};
constexpr int kAttrDates = 20;
constexpr int kAttrRates = 21;
constexpr int kAttrCaseCentre = 1;

// The buttons that change data, hidden for good from a consultation user.
constexpr std::array<const char*, 6> kWriteButtons = {"Cmd_Ajouter",          "Cmd_OK",
                                                      "Cmd_Supprimer",        "Cmd_AjouterRapport",
                                                      "Cmd_SupprimerRapport", "Cmd_OkRapport"};

std::string Bool(bool b) { return b ? "True" : "False"; }

int Count(const dba::CItem& r, int attribute) { return r.DCount(attribute); }

std::string Shown(const std::string& text) { return mvdb::ToShown(text); }

// One line of an expect-record that fails on the record as it now is.
std::string ExpectRecord(const std::string& file, const std::string& key, const std::string& text) {
  return "expect-record " + file + " \"" + key + "\" * = " + Shown(text);
}

}  // namespace

DbImage ReadImage(dba::Database& db) {
  DbImage image;
  for (const std::string& name : db.Files()) {
    auto& records = image[name];
    db.DBOpen(name).ForEachRecord([&](std::string_view key, std::string_view text) {
      records.emplace(std::string(key), std::string(text));
    });
  }
  return image;
}

std::string FailureText(const Broken& b) { return "invariant " + b.rule + ": " + b.detail; }

std::string RuleOf(const std::string& m) {
  const std::string prefix = "invariant ";
  if (m.rfind(prefix, 0) == 0) return m.substr(prefix.size(), m.find(':') - prefix.size());
  if (m.rfind("error: ", 0) == 0) return "exception";
  return "";
}

std::optional<Broken> CheckContent(const DbImage& image) {
  static const std::map<std::string, std::string> none;
  const auto centresAt = image.find(kCentres);
  const auto& centres = centresAt == image.end() ? none : centresAt->second;
  for (const auto& [key, text] : centres) {
    const dba::CItem r(text);
    if (Count(r, kAttrDates) != Count(r, kAttrRates)) {
      return Broken{"rate-attributes",
                    "centre " + key + " holds " + std::to_string(Count(r, kAttrDates)) +
                        " dates and " + std::to_string(Count(r, kAttrRates)) + " rates",
                    ExpectRecord(kCentres, key, text)};
    }
  }
  const auto casesAt = image.find(kCases);
  if (casesAt == image.end()) return std::nullopt;
  for (const auto& [key, text] : casesAt->second) {
    const std::string centre = dba::CItem(text).Item(kAttrCaseCentre);
    if (centres.count(centre) == 0) {
      return Broken{
          "case-centre",
          "case record " + key + " points to centre \"" + centre + "\", which does not exist", ""};
    }
  }
  return std::nullopt;
}

Checker::Checker(dba::Database& db, DbImage image, int level)
    : db_(db), image_(std::move(image)), level_(level), seen_(db.RecordWrites()) {}

void Checker::Watch(Form& form) {
  if (!watched_.insert(&form).second) return;  // a form shown again keeps its handlers
  static const std::array<std::pair<const char*, const char*>, 4> buttons = {{
      {"UserControl", "Cmd_OK"},
      {"UserControl", "Cmd_Sortir"},
      {"UserControl", "Cmd_Supprimer"},
      {"Frm_AdresseBancaire", "Cmd_Retour"},
  }};
  const bool surface = form.Name() != "Frm_AdresseBancaire" && form.Name() != "Frm_SupprURSSAF";
  for (const auto& [owner, name] : buttons) {
    if ((std::string(owner) == "UserControl") != surface) continue;
    if (!surface && form.Name() != owner) continue;
    Control* c = form.Find(name);
    if (c == nullptr || !c->Click) continue;
    c->Click = [this, inner = c->Click] {
      ++saveClicks_;
      // A deletion writes from its transfer form, while "Supprimer" runs.
      ++saveRunning_;
      struct Leave {
        int& n;
        ~Leave() { --n; }
      } leave{saveRunning_};
      inner();
    };
  }
}

std::optional<Broken> Checker::AfterAction(scenario::Session& session,
                                           const scenario::ScriptLine& /*line*/) {
  const Form& surface = *session.Forms().front();
  const Control& dates = surface.Get("Lst_Date");
  const Control& rates = surface.Get("Lst_Valeur");
  if (dates.ListCount() != rates.ListCount()) {
    return Broken{"rate-lists",
                  "Lst_Date holds " + std::to_string(dates.ListCount()) + " lines, Lst_Valeur " +
                      std::to_string(rates.ListCount()),
                  "expect Lst_Valeur.ListCount = " + std::to_string(dates.ListCount())};
  }
  if (dates.ListIndex() != rates.ListIndex()) {
    return Broken{"rate-lists",
                  "Lst_Date selects line " + std::to_string(dates.ListIndex()) +
                      ", Lst_Valeur line " + std::to_string(rates.ListIndex()),
                  "expect Lst_Valeur.ListIndex = " + std::to_string(dates.ListIndex())};
  }
  // The scroll bars stand in for the lists' own: on a selected line, both
  // show its index.
  if (dates.ListIndex() >= 0) {
    for (const char* bar : {"Bdv_Date", "Bdv_Valeur"}) {
      const Control& b = surface.Get(bar);
      if (b.Value() != dates.ListIndex()) {
        return Broken{
            "rate-lists",
            std::string(bar) + " stands at " + std::to_string(b.Value()) + " while line " +
                std::to_string(dates.ListIndex()) + " is selected",
            "expect " + std::string(bar) + ".Value = " + std::to_string(dates.ListIndex())};
      }
    }
  }
  // The sigle list offers every centre of the database.
  const Control& sigles = surface.Get("Cbo_SigleCtrUrssaf");
  const auto centres = image_.find(kCentres);
  const int stored = centres == image_.end() ? 0 : static_cast<int>(centres->second.size());
  if (db_.RecordWrites() == seen_ && sigles.ListCount() != stored) {
    return Broken{"centre-list",
                  "the sigle list offers " + std::to_string(sigles.ListCount()) +
                      " centres, the database holds " + std::to_string(stored),
                  "expect Cbo_SigleCtrUrssaf.ListCount = " + std::to_string(stored)};
  }
  // The record holding the history being edited keeps its two lists parallel.
  const morvanel::state::InstanceState& etat = session.Control().Etat();
  const dba::CItem* held = etat.ModeAjout ? etat.ItemTemp.get() : etat.Art_CentreUrssaf.get();
  if (held != nullptr && Count(*held, kAttrDates) != Count(*held, kAttrRates)) {
    return Broken{"rate-attributes",
                  "the centre being edited holds " + std::to_string(Count(*held, kAttrDates)) +
                      " dates and " + std::to_string(Count(*held, kAttrRates)) + " rates",
                  "expect Lst_Valeur.ListCount = " + std::to_string(Count(*held, kAttrDates))};
  }
  if (session.Forms().size() == 1 && !session.HostUnloaded()) {
    if (auto b = checkScreen(session)) return b;
  }
  // A click still running (its modal form being driven) counts for the
  // action that made it, which ends last.
  const bool saveClicked = saveClicks_ != saveClicksSeen_ || saveRunning_ > 0;
  if (saveRunning_ == 0) saveClicksSeen_ = saveClicks_;
  if (db_.RecordWrites() != seen_) {
    seen_ = db_.RecordWrites();
    ++writes_;
    if (auto b = checkWrite(saveClicked)) return b;
  }
  return std::nullopt;
}

std::optional<Broken> Checker::checkScreen(scenario::Session& session) {
  const Form& f = *session.Forms().front();
  const auto& etat = session.Control().Etat();
  auto broken = [](std::string detail, const std::string& control, const std::string& prop,
                   bool expected) {
    return Broken{"screen-state", std::move(detail),
                  "expect " + control + "." + prop + " = " + Bool(expected)};
  };
  if (!f.Enabled()) return broken("the control is left disabled", "UserControl", "Enabled", true);
  if (level_ != 2) {
    for (const char* name : kWriteButtons) {
      if (f.Get(name).Visible()) {
        return broken(std::string(name) + " is shown to a consultation user", name, "Visible",
                      false);
      }
    }
  }
  const bool comboShown = f.Get("Cbo_SigleCtrUrssaf").Visible();
  if (comboShown == f.Get("Txt_SigleCtrUrssaf").Visible()) {
    return broken("both sigle fields are " + std::string(comboShown ? "shown" : "hidden"),
                  "Txt_SigleCtrUrssaf", "Visible", !comboShown);
  }
  const char* state = comboShown ? "search" : etat.ModeAjout ? "creation" : "centre shown";
  if (comboShown && etat.ModeAjout) {
    return broken("the search state while a centre is being created", "Cbo_SigleCtrUrssaf",
                  "Visible", false);
  }
  // Adding or changing a rate line greys everything outside the frame.
  const bool rateEditing = f.Get("Cmd_AnnulerRapport").Enabled();
  // 1 enabled, 0 disabled, -1 either: a centre whose rate history took a
  // line keeps "Supprimer" shut until it is saved or abandoned.
  struct Expected {
    const char* control;
    int search, creation, shown;
  };
  static const std::array<Expected, 6> table = {{
      {"Txt_CodCtrUrssaf", 1, 0, 0},
      {"Cmd_Ajouter", 1, 0, 0},
      {"Cmd_Supprimer", 0, 0, -1},
      {"Cmd_OK", 0, 1, 1},
      {"Cmd_Annuler", 0, 1, 1},
      {"Cmd_Sortir", 1, 0, 1},
  }};
  if (comboShown && rateEditing) {
    return broken("the rate editor is open in the search state", "Cmd_AnnulerRapport", "Enabled",
                  false);
  }
  for (const Expected& e : table) {
    int rule = comboShown ? e.search : etat.ModeAjout ? e.creation : e.shown;
    if (rateEditing) rule = 0;
    if (rule < 0) continue;
    const bool want = rule == 1;
    if (f.Get(e.control).Enabled() != want) {
      return broken(std::string("state ") + state + (rateEditing ? " (rate line edited)" : "") +
                        ": " + e.control + ".Enabled is " + Bool(!want),
                    e.control, "Enabled", want);
    }
  }
  return std::nullopt;
}

std::optional<Broken> Checker::checkWrite(bool mayWrite) {
  DbImage now = ReadImage(db_);
  // The first record that differs, for the failing line of the scenario.
  std::string changed;
  std::optional<Broken> shape;
  for (const auto& [file, records] : now) {
    const auto& before = image_[file];
    std::set<std::string> keys;
    for (const auto& [k, t] : records) keys.insert(k);
    for (const auto& [k, t] : before) keys.insert(k);
    int centresChanged = 0;
    for (const std::string& k : keys) {
      const auto a = before.find(k);
      const auto b = records.find(k);
      const std::string oldText = a == before.end() ? "" : a->second;
      const std::string newText = b == records.end() ? "" : b->second;
      if (oldText == newText) continue;
      if (changed.empty()) changed = ExpectRecord(file, k, oldText);
      bool writable = false;
      for (const char* w : kWritable) writable = writable || file == w;
      if (!writable && !shape) {
        shape = Broken{"write-shape", "record " + k + " of " + file + " changed", ""};
      }
      if (file == kCentres && ++centresChanged > 1 && !shape) {
        shape = Broken{"write-shape", "one action changed several centres", ""};
      }
      if (file == kCases && !shape) {
        dba::CItem x(oldText), y(newText);
        x.setItem(kAttrCaseCentre, "");
        y.setItem(kAttrCaseCentre, "");
        if (x.Item() != y.Item() || newText.empty()) {
          shape = Broken{"write-shape", "case record " + k + " changed beyond its centre", ""};
        }
      }
    }
  }
  if (changed.empty()) {
    // A write of the text already stored: harmless for the content, but
    // for a consultation user not even an attempt is allowed.
    if (level_ != 2)
      return Broken{"consultation-write", "a consultation user wrote (same text)", ""};
    image_ = std::move(now);
    return std::nullopt;
  }
  if (level_ != 2) {
    return Broken{"consultation-write", "a consultation user changed the database", changed};
  }
  if (!mayWrite) {
    return Broken{"unexpected-write", "the database changed on an action that saves nothing",
                  changed};
  }
  if (shape) {
    shape->expectLine = changed;
    return shape;
  }
  if (auto b = CheckContent(now)) return b;
  image_ = std::move(now);
  return std::nullopt;
}

std::optional<Broken> Checker::AtEnd() {
  const DbImage now = ReadImage(db_);
  if (now == image_) return std::nullopt;
  for (const auto& [file, records] : now) {
    if (records == image_[file]) continue;
    for (const auto& [k, t] : records) {
      const auto a = image_[file].find(k);
      if (a == image_[file].end() || a->second != t) {
        return Broken{"hidden-write",
                      "record " + k + " of " + file + " changed without a counted write",
                      ExpectRecord(file, k, a == image_[file].end() ? "" : a->second)};
      }
    }
    return Broken{"hidden-write", "a record of " + file + " went without a counted write", ""};
  }
  return Broken{"hidden-write", "a file went without a counted write", ""};
}

}  // namespace monkey
