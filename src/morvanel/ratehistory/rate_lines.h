// The rate history's lines as plain columns: the newest-first sort and the
// text a stored rate is shown as. Rate history subsystem; pure functions,
// testable without a screen or a database.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace utilitaires {
class Utilitaires;
}

namespace morvanel::ratehistory {

// Reorders lines 0..count-1 of the two parallel columns (a line is one date
// and the rate at the same position; a missing cell reads as empty) by the
// leading number of the stored date, newest first. Lines with equal dates
// keep their order; a date without a leading number counts 0, so empty
// dates come after every positive one. Positions from `count` on are left
// as they are. A column is not lengthened by empty cells, as a record is
// not by writing an empty value past its end. Returns whether anything
// moved. O(n log n): a history may hold 32767 lines.
bool TrierLignesParDate(std::vector<std::string>& dates, std::vector<std::string>& taux,
                        std::size_t count);
// The same on cells seen in place in a record's text, which is then
// rewritten once per column.
bool TrierLignesParDate(std::vector<std::string_view>& dates, std::vector<std::string_view>& taux,
                        std::size_t count);

// Moves line `ligne` of the two columns (of one length) to where
// TrierLignesParDate would put it, when every other line is already in that
// order, and returns its new position; otherwise moves nothing and returns
// nullopt. One pass: the line typed into a sorted history of 32767 lines
// takes its place without a sort.
[[nodiscard]] std::optional<std::size_t> PlacerLigne(std::vector<std::string_view>& dates,
                                                     std::vector<std::string_view>& taux,
                                                     std::size_t ligne);

// The values of an attribute's text (value marks between them), read one
// after the other in place; "" once past the last. A history of 32767
// lines is walked without copying it.
class Valeurs {
 public:
  explicit Valeurs(std::string_view attribut) : reste_(attribut), fini_(attribut.empty()) {}
  std::string_view Suivante();

 private:
  std::string_view reste_;
  bool fini_;
};

// How many values an attribute's text holds (none when it is empty), and
// those values in place.
[[nodiscard]] std::size_t NombreDeValeurs(std::string_view attribut);
[[nodiscard]] std::vector<std::string_view> Cellules(std::string_view attribut);
// The cells joined with value marks, an attribute's text again.
[[nodiscard]] std::string Joindre(const std::vector<std::string_view>& cellules);

// A stored rate (thousandths of a percent) as the list shows it, with three
// decimals: "12500" -> "12,500". An empty cell, or one that is not a number,
// gives an empty line.
[[nodiscard]] std::string TexteTaux(const utilitaires::Utilitaires& u, std::string_view stocke);

}  // namespace morvanel::ratehistory
