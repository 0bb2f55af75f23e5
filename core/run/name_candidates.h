// Candidate names of the collision resolution: splitting a new name into its
// base part and extension part, the numbered forms of the six numbering
// styles, the evacuation names of the three evacuation styles, and the check
// that keeps unusable generated names away from the disk. Pure functions on
// texts; each is linear in the length of its names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dovetam {

// Numbers are tried below this limit; 999,999,999 is the last one.
inline constexpr int64_t kNumberLimit = 1000000000;

struct NameParts {
  std::u16string base;  // before the last "." (the whole name in mix mode)
  std::u16string ext;   // from the last "." on, dot included ("" when none)
};

// Splits at the last "." unless mixMode (then the whole name is the base).
NameParts SplitNewName(std::u16string_view name, bool mixMode);
// The text before the last "." of a name, or the whole name.
std::u16string_view NameBase(std::u16string_view name);
// base & separator & n (& closing bracket) for numbering style 1..6.
std::u16string NumberedBase(std::u16string_view base, int style, int64_t n);
// name & ".$" & n & "$", "._" & n & "_" or "." & n for evacuation style 1..3.
std::u16string EvacuationName(std::u16string_view name, int style, int64_t n);

// False for a name that must never reach the disk: empty, "." or "..",
// containing "/" or NUL, holding a lone surrogate outside U+DC80..U+DCFF
// (no byte sequence stands for it), or longer on disk than a name may be
// (name_length.h).
bool IsUsableName(std::u16string_view name);

// The candidates of one object: number m >= first. The candidate of `first`
// is the unnumbered name unless firstNumbered; every later one is numbered.
class CandidateSequence {
 public:
  CandidateSequence(NameParts parts, int style, int64_t first, bool firstNumbered);

  int64_t first() const { return first_; }
  std::u16string Name(int64_t m) const;  // candidate m
  std::u16string Base(int64_t m) const;  // its base part (the numbered base)
  // The number m whose candidate equals `upperName` (already upper-cased)
  // without case, if there is one.
  std::optional<int64_t> NumberOf(std::u16string_view upperName) const;
  // Key of the sequence within one folder: equal for two sequences whose
  // candidates are equal without case.
  const std::u16string& Key() const { return key_; }

 private:
  NameParts parts_;
  int style_;
  int64_t first_;
  bool firstNumbered_;
  std::u16string upperBase_, upperExt_, key_;
};

}  // namespace dovetam
