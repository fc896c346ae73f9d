// The help text of mvdb. Tools layer (src/tools/mvdb, no Qt).
#include "commands.h"

namespace mvdb {

const char* HelpText() {
  return R"(mvdb - administration of a multivalue database file

Usage: mvdb COMMAND DB ARGUMENTS...

DB is a database file, or a PostgreSQL database named by a libpq URI such
as postgresql:///paie?host=/run/postgresql (see docs/postgresql.md).

  create DB [FILE...]          create the database file when missing (on a
                               postgresql:// URI: our tables in that existing
                               database, when missing), then each
                               multivalue FILE (an existing FILE is reported
                               and the others are still created; exit 1)
  files DB                     list the multivalue files, one a line
  write DB FILE KEY TEXT       write record KEY of FILE; TEXT in shown form
  read DB FILE KEY             print record KEY in shown form; a missing
                               record (or one whose text is empty) is an
                               error: "record KEY not found in FILE", exit 1
  delete DB FILE KEY           delete record KEY; exit 1 when there was none
  select DB SENTENCE [COLUMNS] [--lines]
                               run a query sentence, e.g.
                                 mvdb select paie.mvdb 'SSELECT CENTREURSSAF PAR 1' '0 1'
                               the file is the sentence's second word; COLUMNS
                               are attribute numbers separated by one blank,
                               "0" (the default) is the key; prints the
                               result record in shown form: one attribute (^)
                               per selected record, its columns separated by
                               ]; --lines prints one selected record a line.
                               SENTENCE is taken as typed: no translation
  index DB FILE ATTR           index FILE on attribute ATTR, 1 to 1000000 (the
                               attributes a sentence can name)
  unlock DB FILE KEY           remove the lock of record KEY, whoever holds it;
                               exit 1 when it holds none. Locks of sessions
                               that ended (process killed, machine down) are
                               ignored anyway: this is for a live session
                               that will not let go
  check DB                     check the file (SQLite's integrity and
                               foreign-key checks, each index against its
                               records); prints "ok" or one line per finding
                               and exits 1
  export DB FILE               print every record of FILE in key order, one a
                               line: KEY^TEXT in shown form, read from one
                               snapshot, not held up by record locks; on a
                               failure nothing is printed (exit 1)
  import DB FILE               read such lines (UTF-8) from standard input and
                               write them, all in one transaction (a bad line
                               or a failed write writes nothing); blank lines
                               and a leading byte-order mark are skipped
  copy SOURCE DESTINATION      copy every file, record and index of SOURCE
                               into DESTINATION (made a database when
                               missing), in one transaction; refused, writing
                               nothing, when DESTINATION has one of the files
  seed-demo DB [--scale N]     create and fill the demo database (refused when
                               DB already has a CENTREURSSAF file)
  call DB ROUTINE [PARAM]      run a database routine (the demo routines are
                               registered) and print the record it returns
  help                         this text

Shown form (TEXT, PARAM, and everything printed):
  ^  attribute mark      ]  value mark      \  subvalue mark
  ~^ ~] ~\ ~~            a literal ^ ] \ ~
  ~xHH                   the byte HH (hex); control bytes, and bytes that
                         are part of no UTF-8 character, are printed so
  Anything else, accented letters included, stands for itself; shown text
  is UTF-8 and a raw byte of another encoding is refused. Printing and
  reading use the same rule, so export then import gives back every record
  byte for byte. Quote TEXT with single quotes in the shell.
  Example: mvdb write paie.mvdb CENTREURSSAF 07 'URSSAF LIMOUSIN^Urssaf du Limousin'

KEY, FILE and SENTENCE are taken as typed.

Exit status: 0 done; 1 database error (printed as "error 0x8004000N: message")
or missing record; 2 bad command line or bad shown text.
)";
}

}  // namespace mvdb
