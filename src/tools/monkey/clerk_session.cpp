// Random sessions and replays, each in a child process of its own.
// Random clerk sessions (src/tools/monkey, no Qt).
#include "clerk_session.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "actions.h"
#include "demo/demo_seed.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "scenario_script.h"
#include "scenario_session.h"
#include "throw_watch.h"

namespace monkey {

namespace fs = std::filesystem;
using forms::MsgAnswer;

namespace {

// A session that has not ended after this long is hung.
constexpr unsigned kHangSeconds = 120;
// Clicks tried on a modal form left open when the session's budget is spent.
constexpr int kClosingTries = 8;

std::ostream& Null() {
  static std::ostringstream sink;
  sink.str({});
  return sink;
}

std::shared_ptr<dba::Database> FreshCopy(const Workspace& w) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal", "-owners"}) {
    fs::remove(w.workDb + suffix);
  }
  fs::copy_file(w.templateDb, w.workDb);
  auto db = dba::Database::Open(w.workDb);
  demo::RegisterPostWriteRoutine(*db, Null());
  return db;
}

int LevelOf(const std::vector<std::string>& header) {
  for (const std::string& l : header) {
    if (l == "user consult" || l == "niveau 1") return 1;
    if (l.rfind("niveau ", 0) == 0) return std::stoi(l.substr(7));
  }
  return 2;
}

// Each line goes to the log before it runs, so a crash leaves the session
// that caused it behind.
class Log {
 public:
  explicit Log(const std::string& path)
      : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)) {}
  ~Log() {
    if (fd_ >= 0) ::close(fd_);
  }
  void Line(const std::string& l) {
    const std::string s = l + "\n";
    if (fd_ >= 0 && ::write(fd_, s.data(), s.size()) < 0) {
      // the log is only for a crash report; the session goes on without it
    }
  }

 private:
  int fd_;
};

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

// The checks of every action, the unexpected exceptions included.
std::optional<std::string> CheckAction(Checker& checker, scenario::Session& s,
                                       const scenario::ScriptLine& line, Outcome& out) {
  ++out.actions;
  const std::vector<std::string> thrown = TakeThrows();
  if (!thrown.empty()) {
    return FailureText({"caught-exception", "a handler swallowed " + thrown.front(), ""});
  }
  if (auto b = checker.AfterAction(s, line)) {
    out.expectLine = b->expectLine;
    return FailureText(*b);
  }
  return std::nullopt;
}

void Finish(scenario::Session& s, bool passed, Checker& checker, Outcome& out) {
  out.writes = static_cast<long>(checker.Writes());
  if (!passed) {
    const std::string& m = s.failure()->message;
    out.rule = RuleOf(m);
    out.detail = m;
    // A made-up session may end with a modal form that its last clicks
    // could not close: the run is over, nothing is broken.
    if (out.rule.empty() && m.find("is still shown at the end") != std::string::npos) return;
    if (out.rule.empty()) out.rule = "runner";
    return;
  }
  if (auto b = checker.AtEnd()) {
    out.rule = b->rule;
    out.detail = FailureText(*b);
    out.expectLine = b->expectLine;
  }
}

// Runs `body` in a child process; the child writes its outcome to `result`.
Outcome InChild(const Workspace& w, const std::string& log, const std::function<Outcome()>& body) {
  const std::string result = w.workDb + ".result";
  fs::remove(result);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(kHangSeconds);
    Outcome o;
    try {
      o = body();
    } catch (const std::exception& e) {
      o.rule = "exception";
      o.detail = std::string("error: ") + e.what();
    }
    std::ofstream f(result);
    f << o.actions << " " << o.writes << "\n"
      << o.rule << "\n"
      << o.expectLine << "\n"
      << o.detail << "\n";
    f.close();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  Outcome o;
  std::ifstream f(result);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && f) {
    std::string n;
    std::getline(f, n);
    std::istringstream counts(n);
    counts >> o.actions >> o.writes;
    std::getline(f, o.rule);
    std::getline(f, o.expectLine);
    std::string rest;
    for (std::string l; std::getline(f, l);) rest += (rest.empty() ? "" : "\n") + l;
    o.detail = rest;
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    o.rule = "runner";  // not the control's doing: the work folder went
    o.detail = "the session left no result in " + result;
  } else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
    o.rule = "hang";
    o.detail = "the session did not end within " + std::to_string(kHangSeconds) + " s";
  } else {
    o.rule = "crash";
    o.detail = WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status))
                                   : "exit status " + std::to_string(WEXITSTATUS(status));
  }
  if (!log.empty()) o.lines = ReadLines(log);
  return o;
}

}  // namespace

const char* AnswerWord(MsgAnswer a) {
  switch (a) {
    case MsgAnswer::Yes: return "Oui";
    case MsgAnswer::No: return "Non";
    case MsgAnswer::Cancel: return "Annuler";
    case MsgAnswer::OK: return "OK";
  }
  return "OK";
}

Workspace PrepareWorkspace(const std::string& dir) {
  fs::create_directories(dir);
  Workspace w{dir + "/demo.mvdb", dir + "/session.mvdb", {}};
  for (const char* suffix : {"", "-wal", "-shm", "-journal", "-owners"}) {
    fs::remove(w.templateDb + suffix);
  }
  {
    auto db = dba::Database::Open(w.templateDb, {.create = true});
    demo::SeedDemo(*db);
    w.templateImage = ReadImage(*db);
  }  // closed: the file alone holds everything, ready to be copied
  for (const char* suffix : {"-wal", "-shm", "-owners"}) fs::remove(w.templateDb + suffix);
  return w;
}

Outcome RunGenerated(const Workspace& w, std::uint64_t seed, long budget) {
  const std::string logPath = w.workDb + ".log";
  return InChild(w, logPath, [&] {
    Outcome out;
    Log log(logPath);
    Generator g(seed);
    const auto [rights, level] = g.Rights();
    std::vector<scenario::ScriptLine> lines;
    std::vector<std::string> header;
    if (!rights.empty()) header.push_back(rights);
    header.push_back("init");
    for (const std::string& h : header) {
      log.Line(h);
      lines.push_back({static_cast<int>(lines.size()) + 1, h, scenario::ParseLine(h), false});
    }
    auto db = FreshCopy(w);
    Checker checker(*db, w.templateImage, level);
    scenario::Session* session = nullptr;
    long made = 0;
    int closing = 0;
    scenario::SessionOptions o;
    o.nextLine = [&]() -> std::optional<std::string> {
      if (session->HostUnloaded()) return std::nullopt;
      std::string l;
      if (made < budget) {
        l = g.Next(session->Forms());
        ++made;
      } else if (session->Forms().size() > 1 && closing++ < kClosingTries) {
        l = g.Closing(*session->Forms().back());
      } else {
        return std::nullopt;
      }
      log.Line(l);
      return l;
    };
    o.answer = [&](std::string_view, forms::MsgButtons b) {
      const MsgAnswer a = g.Answer(b);
      log.Line(std::string("answer ") + AnswerWord(a));
      return a;
    };
    o.modalShown = [&](forms::Form& f) { checker.Watch(f); };
    o.afterAction = [&](const scenario::ScriptLine& line) {
      return CheckAction(checker, *session, line, out);
    };
    TakeThrows();
    scenario::Session s("monkey", std::move(lines), db, o, Null(), Null());
    session = &s;
    checker.Watch(s.Control().Controls());
    const bool passed = s.Run();
    Finish(s, passed, checker, out);
    return out;
  });
}

Outcome Replay(const Workspace& w, const std::vector<std::string>& text) {
  return InChild(w, "", [&] {
    Outcome out;
    std::string all;
    for (const std::string& l : text) all += l + "\n";
    std::istringstream in(all);
    std::vector<scenario::ScriptLine> lines = scenario::ParseScript("replay", in);
    auto db = FreshCopy(w);
    Checker checker(*db, w.templateImage, LevelOf(text));
    scenario::Session* session = nullptr;
    scenario::SessionOptions o;
    o.modalShown = [&](forms::Form& f) { checker.Watch(f); };
    o.afterAction = [&](const scenario::ScriptLine& line) {
      return CheckAction(checker, *session, line, out);
    };
    TakeThrows();
    scenario::Session s("replay", std::move(lines), db, o, Null(), Null());
    session = &s;
    checker.Watch(s.Control().Controls());
    const bool passed = s.Run();
    Finish(s, passed, checker, out);
    // A replay that stops with a modal form open broke nothing: no rule.
    if (out.rule == "runner") out.rule.clear();
    return out;
  });
}

}  // namespace monkey
