// The editing workflow's long steps: deleting a centre that 10,000 case
// records point to (the selection, the moves in batches, the deletion), and
// saving a centre whose history holds 32,767 lines. Benchmark program.
//
// transfer_10000 runs on a database of its own ("<db>.transfer.mvdb", and
// its baseline "<db>.transfer.sqlite"), as the control under test takes the
// library-wide database: it comes after the other control measurements.
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "control_fixture.h"
#include "dba/citem.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/library_state.h"
#include "morvanel/state/urssaf_screen.h"

namespace bench {
namespace {

constexpr double kFrameUs = 16000;
constexpr const char* kCases = "ELTSPARTEMP";
constexpr const char* kCentres = "CENTREURSSAF";
// The records go back and forth between the two centres: run r deletes
// one of them, moving its records onto the other.
constexpr const char* kCentreA = "91";
constexpr const char* kCentreB = "92";

int TransferSize(const BenchConfig& c) { return c.quick ? 1000 : 10000; }
int OneStep(const BenchConfig&) { return 1; }

const char* Source(int run) { return run % 2 == 0 ? kCentreA : kCentreB; }
const char* Target(int run) { return run % 2 == 0 ? kCentreB : kCentreA; }

std::string CentreText(const char* code) {
  dba::CItem c;
  c.setItem(1, std::string("URSSAF TRANSFERT ") + code);
  c.setItem(2, "Centre de mesure");
  c.setItem(16, "117");
  c.setItem(17, "0");
  return c.Item();
}

std::vector<demo::DemoRecord> CaseRecords(int count) {
  std::vector<demo::DemoRecord> records;
  for (int i = 0; i < count; ++i) {
    dba::CItem r;
    r.setItem(1, kCentreA);
    r.setItem(2, "DOSSIER " + std::to_string(i));
    r.setItem(4, "NANTES");
    char key[16];
    std::snprintf(key, sizeof key, "T%06d", i);
    records.push_back({key, r.Item()});
  }
  return records;
}

struct TransferBench {
  std::shared_ptr<dba::Database> db;
  std::unique_ptr<Baseline> base;
  forms::headless::HeadlessServices services;
  std::unique_ptr<morvanel::shell::Ctr_Urssaf> ctl;
  std::unique_ptr<forms::UserInput> input;
  int run = 0;  // the run the modal driver works for
};

std::unique_ptr<TransferBench> BuildTransfer(BenchContext& ctx) {
  const std::string path = ctx.db.Path() + ".transfer.mvdb";
  if (std::filesystem::exists(path)) throw std::runtime_error(path + " exists; give a new path");
  auto t = std::make_unique<TransferBench>();
  const std::vector<demo::DemoRecord> cases = CaseRecords(TransferSize(ctx.config));
  t->db = dba::Database::Open(path, {.create = true});
  for (const char* f :
       {kCentres, "COMPTEUR", "ASSOCIATION", kCases, "ACTIVITES", "ETABLISSEMENT"}) {
    t->db->CreateFile(f);
  }
  {
    dba::Transaction tr(*t->db);
    const dba::DBFile file = t->db->DBOpen(kCases);
    for (const demo::DemoRecord& r : cases) {
      dba::CItem item = file.DBNew(r.key);
      item.setItem(r.text);
      item.DBWrite();
    }
    tr.Commit();
  }
  t->db->CreateIndex(kCases, 1);  // as the payroll database has it

  t->base = std::make_unique<Baseline>(path + ".baseline.sqlite");
  t->base->Load(kCentres, {{kCentreA, CentreText(kCentreA)}, {kCentreB, CentreText(kCentreB)}});
  t->base->Load(kCases, cases);
  t->base->BuildIndex(kCases, 1);

  t->services.SetDefaultAnswer(forms::MsgAnswer::Yes);
  TransferBench* self = t.get();
  t->services.SetModalDriver([self](forms::Form& form) {
    forms::UserInput in(form, self->services);
    in.Type(form.Get("Txt_CentreSuppr"), Target(self->run));
    in.Click(form.Get("Cmd_OKSuppr"));
  });
  t->ctl = std::make_unique<morvanel::shell::Ctr_Urssaf>(t->services);
  t->ctl->TheDatabase(t->db);
  t->ctl->TheClient(std::make_shared<components::Client>("C1", "Société de mesure", "bench"));
  t->ctl->DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}}));
  t->ctl->Init();
  t->input = std::make_unique<forms::UserInput>(t->ctl->Controls(), t->services);
  return t;
}

TransferBench& Transfer(BenchContext& ctx) {
  // The library state must outlive the control kept here: built first, it
  // is destroyed last.
  static morvanel::state::LibraryState& library = morvanel::state::LibraryState::Instance();
  (void)library;
  static std::unique_ptr<TransferBench> bench;  // one database per program run
  if (!bench) bench = BuildTransfer(ctx);
  return *bench;
}

// Both centres exist and the one to delete is shown on the search screen.
void PrepareTransfer(BenchContext& ctx, int run) {
  TransferBench& t = Transfer(ctx);
  const dba::DBFile centres = t.db->DBOpen(kCentres);
  for (const char* code : {kCentreA, kCentreB}) {
    dba::CItem c = centres.DBNew(code);
    c.setItem(CentreText(code));
    c.DBWrite();
  }
  t.ctl->Vider_Donnees();
  t.input->Type(t.ctl->Ecran().Txt_CodCtrUrssaf, Source(run));
  (void)t.services.takeMessages();
  t.run = run;
}

std::string TransferOurs(BenchContext& ctx, int run) {
  TransferBench& t = Transfer(ctx);
  t.input->Click(t.ctl->Ecran().Cmd_Supprimer);
  int moved = 0;
  dba::CItem request;
  request.setItem(1, std::string("SELECT ELTSPARTEMP AVEC 1 = \"") + Target(run) + "\"");
  (void)t.db->DBSelect(request.Item(), "", &moved);
  const bool deleted = t.db->DBOpen(kCentres).DBRead(Source(run)).Item().empty();
  return "on target=" + std::to_string(moved) + " deleted=" + std::to_string(deleted) +
         " messages=" + std::to_string(t.services.messages().size() - 1);  // the question
}

// The same updates with prepared statements in one transaction: the keys
// from the index table, each body's attribute 1 replaced, the index kept in
// step, the centre deleted.
std::string TransferBaseline(BenchContext& ctx, int run) {
  TransferBench& t = Transfer(ctx);
  Baseline& b = *t.base;
  const std::string table = Baseline::Table(kCases);
  const std::string index = Baseline::IndexTable(kCases, 1);
  Statement replaceCentre(b.Handle(), "INSERT OR REPLACE INTO " + Baseline::Table(kCentres) +
                                          "(key, body) VALUES(?, ?)");
  Statement keys(b.Handle(), "SELECT key FROM " + index + " WHERE value = ? ORDER BY key");
  Statement select(b.Handle(), "SELECT body FROM " + table + " WHERE key = ?");
  Statement update(b.Handle(), "UPDATE " + table + " SET body = ? WHERE key = ?");
  Statement reindex(b.Handle(), "UPDATE " + index + " SET value = ? WHERE value = ? AND key = ?");
  Statement drop(b.Handle(), "DELETE FROM " + Baseline::Table(kCentres) + " WHERE key = ?");
  Statement count(b.Handle(), "SELECT count(*) FROM " + index + " WHERE value = ?");
  const std::string source = Source(run), target = Target(run);
  b.Exec("BEGIN IMMEDIATE");
  replaceCentre.Bind(1, source);
  replaceCentre.BindBlob(2, CentreText(source.c_str()));
  replaceCentre.Step();
  std::vector<std::string> found;
  keys.BindBlob(1, source);
  while (keys.Step()) found.emplace_back(keys.Column(0));
  keys.Reset();
  for (const std::string& key : found) {
    select.Bind(1, key);
    std::string body = select.Step() ? std::string(select.Column(0)) : std::string();
    select.Reset();
    update.BindBlob(1, ReplaceAttribute(body, 1, target));
    update.Bind(2, key);
    update.Step();
    update.Reset();
    reindex.BindBlob(1, target);
    reindex.BindBlob(2, source);
    reindex.Bind(3, key);
    reindex.Step();
    reindex.Reset();
  }
  drop.Bind(1, source);
  drop.Step();
  b.Exec("COMMIT");
  count.BindBlob(1, target);
  const std::string moved = count.Step() ? std::string(count.Column(0)) : "0";
  return "on target=" + moved + " deleted=1 messages=0";
}

// The long-history centre shown, unchanged since it was read.
void PrepareSave(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  b.ctl->Vider_Donnees();
  b.input->Type(b.ctl->Ecran().Txt_CodCtrUrssaf, kBigCentre);
  (void)b.services.takeMessages();
}

std::string SaveOurs(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  b.ctl->Ecrire_Donnees();
  const dba::CItem& centre = *b.ctl->Etat().Art_CentreUrssaf;
  centre.DBWrite();
  return "bytes=" + std::to_string(centre.Item().size()) +
         " lines=" + std::to_string(centre.DCount(20)) +
         " messages=" + std::to_string(b.services.messages().size());
}

// The record text written back as it is, without a screen.
std::string SaveBaseline(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  dba::CItem centre = b.db->DBOpen(kCentres).DBNew(kBigCentre);
  centre.setItem(b.bigCentre);
  centre.DBWrite();
  return "bytes=" + std::to_string(centre.Item().size()) +
         " lines=" + std::to_string(centre.DCount(20)) + " messages=0";
}

}  // namespace

void RegisterWorkflowMeasurements(Registry& r) {
  r.push_back({"save_history_32767", Phase::kWithoutIndex, 0, OneStep, SaveOurs, SaveBaseline,
               kFrameUs, PrepareSave});
  r.push_back({"transfer_10000", Phase::kWithIndex, 2.0, OneStep, TransferOurs, TransferBaseline, 0,
               PrepareTransfer});
}

}  // namespace bench
