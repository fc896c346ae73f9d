// Query sentences: any text given as a request record to DBSelect.
//
// Input: the sentence, then optionally a line of columns, a line with the
// request's file name, and lines that change CENTRES first ("KEY" 0xFE
// "TEXT" writes a record, "-KEY" deletes one) inside a transaction rolled
// back afterwards, so that index upkeep meets the selection too.
// Whatever the text, a selection returns or throws DbaError; a sentence
// that parses, on a file that exists, with columns that parse, is
// answered; and the database with indexes gives exactly the answer of its
// twin without them. What it keeps agrees with its conditions taken one by
// one (OU a union, ET an intersection). Every value Citer accepts comes
// back out of a sentence as that very value.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dba/database.h"
#include "dba/query_parser.h"
#include "dba/requete.h"
#include "fuzz_support.h"

namespace {

constexpr char FE = '\xFE';
constexpr char FD = '\xFD';
constexpr char FC = '\xFC';

struct Seed {
  const char* file;
  std::string key;
  std::string text;
};

std::string Join(std::initializer_list<std::string> parts, char mark) {
  std::string out;
  bool first = true;
  for (const std::string& p : parts) {
    if (!first) out += mark;
    out += p;
    first = false;
  }
  return out;
}

// Records chosen for the edges of matching and sorting: keys that are
// prefixes of each other, values holding brackets, quotes and accents,
// empty attributes, values and subvalues, ties, a far attribute.
std::vector<Seed> Records() {
  const std::string a = std::string(1, FE);
  return {
      {"CENTRES", "01", Join({"URSSAF PARIS", "75", Join({"A", "B", ""}, FD), "2024", "0"}, FE)},
      {"CENTRES", "07",
       Join({"URSSAF RHONE", "69", Join({"B", Join({"x", "y"}, FC)}, FD), "2023"}, FE)},
      {"CENTRES", "070", Join({"URSSAF RHONE", "69", "C", "", "12.5"}, FE)},
      {"CENTRES", "07A", Join({"", "69", "", "2023"}, FE)},
      {"CENTRES", "1", Join({"Île-de-France", "75", Join({"é", "É"}, FD)}, FE)},
      {"CENTRES", "10", Join({"urssaf paris", "750", "a]"}, FE)},
      {"CENTRES", "2", Join({"[crochet]", "7", "[b", "2024"}, FE)},
      {"CENTRES", "A", Join({"O'Brien", "\"dit\"", Join({"", ""}, FD)}, FE)},
      {"CENTRES", "a", "URSSAF"},
      {"CENTRES", "Z]",
       Join({"Z", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
             "",  "", "", "", "", "", "", "", "", "", "", "", "", "", "trente"},
            FE)},
      {"CENTRES", "x[y", Join({"URSSAF PARIS", "75", Join({"A", "A"}, FD)}, FE)},
      {"CENTRES", "O'B",
       Join({"URSSAF", Join({"69", "75"}, FD), Join({Join({"A", "B"}, FC), "C"}, FD)}, FE)},
      {"CENTRES", "Q\"", a + "75" + a + "a"},
      {"CENTRES", "é", Join({"ÉCHELLE", "9", "B"}, FE)},
      {"CAS", "1000", Join({"07", "SALARIE", "2024"}, FE)},
      {"CAS", "1001", Join({"07", "SALARIE", "2023"}, FE)},
      {"CAS", "1002", Join({"01", Join({"A", "B"}, FD), "2024"}, FE)},
      {"CAS", "1003", Join({"070", "", "2024"}, FE)},
      {"CAS", "2000", Join({Join({"07", "01"}, FD), "SAL", ""}, FE)},
      {"CAS", "2001", Join({"", "SALARIE"}, FE)},
      {"CAS", "30", Join({"1", "SALARIE", "1999"}, FE)},
  };
}

// Two databases with the same records, one with indexes, made once per process.
struct Fixture {
  fuzz::ScratchDir dir;
  std::shared_ptr<dba::Database> indexed;
  std::shared_ptr<dba::Database> plain;

  Fixture() {
    indexed = Make(dir.File("indexed.mvdb"), true);
    plain = Make(dir.File("plain.mvdb"), false);
  }
  ~Fixture() {
    indexed.reset();  // before the folder goes
    plain.reset();
  }

  static std::shared_ptr<dba::Database> Make(const std::string& path, bool withIndexes) {
    dba::OpenOptions options;
    options.create = true;
    auto db = dba::Database::Open(path, options);
    for (const char* f : {"CENTRES", "CAS", "VIDE"}) db->CreateFile(f);
    if (withIndexes) {
      for (int attribute : {1, 2, 3, 30}) db->CreateIndex("CENTRES", attribute);
      for (int attribute : {1, 2}) db->CreateIndex("CAS", attribute);
      db->CreateIndex("VIDE", 1);
    }
    dba::Transaction t(*db);
    for (const Seed& s : Records()) {
      dba::CItem r = db->DBOpen(s.file).DBNew(s.key);
      r.setItem(s.text);
      r.DBWrite();
    }
    t.Commit();
    return db;
  }
};

struct Outcome {
  bool ok = false;
  std::uint32_t error = 0;
  std::string text;
  int count = -1;
};

Outcome Run(dba::Database& db, const dba::Requete& request) {
  Outcome o;
  try {
    o.text = db.DBSelect(request.Texte(), "", &o.count).Item();
    o.ok = true;
  } catch (const dba::DbaError& e) {
    o.error = e.number();
  }
  return o;
}

// Writes "KEY" 0xFE "TEXT" to CENTRES, or deletes "-KEY".
Outcome Change(dba::Database& db, std::string_view line) {
  Outcome o;
  try {
    const dba::DBFile centres = db.DBOpen("CENTRES");
    if (!line.empty() && line.front() == '-') {
      o.count = centres.DBDelete(line.substr(1));
    } else {
      const std::size_t mark = line.find(FE);
      dba::CItem r = centres.DBNew(line.substr(0, mark));
      r.setItem(
          std::string(mark == std::string_view::npos ? std::string_view{} : line.substr(mark + 1)));
      r.DBWrite();
    }
    o.ok = true;
  } catch (const dba::DbaError& e) {
    o.error = e.number();
  }
  return o;
}

bool HasMark(std::string_view s) {
  return s.find_first_of(std::string_view("\xFE\xFD\xFC", 3)) != std::string_view::npos;
}

// A condition written back as sentence text, wildcards included.
std::string Sentence(const dba::query::Condition& c) {
  using dba::query::Match;
  using dba::query::Op;
  static const char* const kOps[] = {"=", "#", "<", ">", "<=", ">="};
  std::string value = c.value;
  if (c.op == Op::kEq || c.op == Op::kNe) {
    if (c.match == Match::kEndsWith || c.match == Match::kContains) value = "[" + value;
    if (c.match == Match::kStartsWith || c.match == Match::kContains) value += "]";
  }
  const char quote = value.find('"') == std::string::npos ? '"' : '\'';
  return std::to_string(c.attribute) + " " + kOps[static_cast<int>(c.op)] + " " + quote + value +
         quote;
}

using Keys = std::set<std::string>;

Keys Select(dba::Database& db, const std::string& sentence) {
  Keys keys;
  std::string text;
  try {
    text = db.DBSelect(dba::Requete{sentence, "", "0"}.Texte()).Item();
  } catch (const dba::DbaError& e) {
    fuzz::Fail("a sentence made of parsed conditions failed",
               fuzz::Printable(sentence) + "\n" + e.what());
  }
  for (std::size_t from = 0; !text.empty();) {
    const std::size_t mark = text.find(FE, from);
    keys.insert(text.substr(from, mark == std::string::npos ? mark : mark - from));
    if (mark == std::string::npos) break;
    from = mark + 1;
  }
  return keys;
}

// What a selection keeps follows from its conditions alone: OU is the union
// of its groups, ET the intersection of its conditions, and every record
// has a value equal to "v" or one that differs from it.
void CheckSetAlgebra(dba::Database& db, const dba::query::Query& q) {
  const std::string head = "SELECT " + q.file;
  const Keys all = Select(db, head);
  std::string whole = head;
  Keys groups;
  for (std::size_t g = 0; g < q.anyOf.size(); ++g) {
    std::string group;
    Keys both = all;
    for (const dba::query::Condition& c : q.anyOf[g]) {
      group += (group.empty() ? " WITH " : " AND ") + Sentence(c);
      const Keys one = Select(db, head + " WITH " + Sentence(c));
      Keys kept;
      std::set_intersection(both.begin(), both.end(), one.begin(), one.end(),
                            std::inserter(kept, kept.end()));
      both = std::move(kept);
      if (c.op == dba::query::Op::kEq || c.op == dba::query::Op::kNe) {
        dba::query::Condition other = c;
        other.op = c.op == dba::query::Op::kEq ? dba::query::Op::kNe : dba::query::Op::kEq;
        Keys either = one;
        const Keys rest = Select(db, head + " WITH " + Sentence(other));
        either.insert(rest.begin(), rest.end());
        if (either != all)
          fuzz::Fail("= and # together miss records", fuzz::Printable(Sentence(c)));
      }
    }
    if (Select(db, head + group) != both)
      fuzz::Fail("ET is not the intersection", fuzz::Printable(group));
    groups.insert(both.begin(), both.end());
    whole += (g == 0 ? "" : " OR") + group;
  }
  if (!q.anyOf.empty() && Select(db, whole) != groups)
    fuzz::Fail("OU is not the union", fuzz::Printable(whole));
  if (!q.anyOf.empty() && Select(db, whole + (q.sorted ? " BY-DSND 1" : " BY 2")) != groups) {
    fuzz::Fail("sorting changed what is kept", fuzz::Printable(whole));
  }
}

// Whether the request must be answered: everything in it is well formed.
bool MustSucceed(const dba::Requete& r) {
  if (HasMark(r.phrase) || HasMark(r.colonnes) || HasMark(r.fichier)) return false;
  try {
    const dba::query::Query q = dba::query::Parse(r.phrase);
    (void)dba::query::ParseColumns(r.colonnes);
    if (!r.fichier.empty() && r.fichier != q.file) return false;
    return q.file == "CENTRES" || q.file == "CAS" || q.file == "VIDE";
  } catch (const dba::DbaError&) {
    return false;
  }
}

void CheckCitation(std::string_view value) {
  const auto exact = dba::Citer(value);
  const auto prefix = dba::CiterDebut(value);
  if (exact.has_value() != dba::Citable(value) || prefix.has_value() != dba::Citable(value)) {
    fuzz::Fail("Citer and CiterDebut disagree with Citable", fuzz::Printable(value));
  }
  if (!exact) return;
  for (const auto& [quoted, match] : {std::pair{*exact, dba::query::Match::kExact},
                                      std::pair{*prefix, dba::query::Match::kStartsWith}}) {
    dba::query::Query q;
    try {
      q = dba::query::Parse("SELECT CENTRES WITH 1 = " + quoted + " BY 2");
    } catch (const dba::DbaError& e) {
      fuzz::Fail("a cited value breaks its sentence", fuzz::Printable(quoted) + "\n" + e.what());
    }
    if (q.anyOf.size() != 1 || q.anyOf[0].size() != 1 || q.sortKeys.size() != 1 ||
        q.anyOf[0][0].value != value || q.anyOf[0][0].match != match) {
      fuzz::Fail("a cited value does not come back as itself", fuzz::Printable(quoted));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  std::vector<std::string_view> lines;
  for (std::size_t from = 0;;) {
    const std::size_t eol = input.find('\n', from);
    lines.push_back(input.substr(from, eol == std::string_view::npos ? eol : eol - from));
    if (eol == std::string_view::npos) break;
    from = eol + 1;
  }
  dba::Requete request;
  request.phrase = std::string(lines[0]);
  if (lines.size() > 1) request.colonnes = std::string(lines[1]);
  if (lines.size() > 2) request.fichier = std::string(lines[2]);

  CheckCitation(input);

  dba::Transaction indexedChanges(*fixture.indexed);
  dba::Transaction plainChanges(*fixture.plain);
  for (std::size_t i = 3; i < lines.size(); ++i) {
    const Outcome a = Change(*fixture.indexed, lines[i]);
    const Outcome b = Change(*fixture.plain, lines[i]);
    if (a.ok != b.ok || a.error != b.error || a.count != b.count) {
      fuzz::Fail("a change fails differently with indexes", fuzz::Printable(lines[i]));
    }
  }
  const Outcome withIndex = Run(*fixture.indexed, request);
  const Outcome without = Run(*fixture.plain, request);
  const std::string shown = fuzz::Printable(request.Texte());
  if (withIndex.ok != without.ok || withIndex.error != without.error) {
    fuzz::Fail("the indexed and the plain database fail differently", shown);
  }
  if (withIndex.text != without.text || withIndex.count != without.count) {
    fuzz::Fail("the indexed and the plain database answer differently",
               shown + "\nindexed: " + fuzz::Printable(withIndex.text) +
                   "\nplain:   " + fuzz::Printable(without.text));
  }
  if (MustSucceed(request)) {
    if (!withIndex.ok) fuzz::Fail("a well-formed request failed", shown);
    CheckSetAlgebra(*fixture.indexed, dba::query::Parse(request.phrase));
  }
  if (withIndex.ok) {
    // Rows are joined by attribute marks and a column's own marks are
    // lowered, so the count fixes the number of marks exactly.
    const auto marks = std::count(withIndex.text.begin(), withIndex.text.end(), FE);
    if (withIndex.count == 0 ? !withIndex.text.empty() : marks != withIndex.count - 1) {
      fuzz::Fail("the count does not match the rows", shown);
    }
  }
  indexedChanges.Rollback();
  plainChanges.Rollback();
  return 0;
}
