// Candidate names: see name_candidates.h.
#include "core/run/name_candidates.h"
#include "core/common/decimal_text.h"

#include "platform/name_length.h"
#include "platform/text_case.h"

namespace dovetam {

namespace {

std::u16string_view Opening(int style) {
  switch (style) {
    case 1: return u"-";
    case 2: return u"_";
    case 3: return u" ";
    case 5: return u"(";
    case 6: return u"[";
    default: return u"";
  }
}

std::u16string_view Closing(int style) {
  switch (style) {
    case 5: return u")";
    case 6: return u"]";
    default: return u"";
  }
}

}  // namespace

NameParts SplitNewName(std::u16string_view name, bool mixMode) {
  if (mixMode) return {std::u16string(name), u""};
  const std::size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return {std::u16string(name), u""};
  return {std::u16string(name.substr(0, dot)), std::u16string(name.substr(dot))};
}

std::u16string_view NameBase(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string_view::npos ? name : name.substr(0, dot);
}

std::u16string NumberedBase(std::u16string_view base, int style, int64_t n) {
  std::u16string out(base);
  out += Opening(style);
  out += DecimalText(n);
  out += Closing(style);
  return out;
}

std::u16string EvacuationName(std::u16string_view name, int style, int64_t n) {
  std::u16string out(name);
  out += style == 2 ? u"._" : style == 3 ? u"." : u".$";
  out += DecimalText(n);
  if (style != 3) out += style == 2 ? u'_' : u'$';
  return out;
}

bool IsUsableName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  for (std::size_t k = 0; k < name.size(); ++k) {
    const char16_t c = name[k];
    if (c == u'/' || c == 0) return false;
    if (c >= 0xD800 && c <= 0xDBFF) {  // high surrogate: needs a low one next
      if (k + 1 < name.size() && name[k + 1] >= 0xDC00 && name[k + 1] <= 0xDFFF) {
        ++k;
        continue;
      }
      return false;
    }
    if (c >= 0xDC00 && c <= 0xDFFF && !(c >= 0xDC80 && c <= 0xDCFF)) return false;
  }
  return FitsNameLength(name);
}

CandidateSequence::CandidateSequence(NameParts parts, int style, int64_t first,
                                     bool firstNumbered)
    : parts_(std::move(parts)), style_(style), first_(first), firstNumbered_(firstNumbered) {
  upperBase_ = UpperText(parts_.base);
  upperExt_ = UpperText(parts_.ext);
  key_ = upperBase_;
  key_ += u'\0';
  key_ += upperExt_;
}

std::u16string CandidateSequence::Base(int64_t m) const {
  if (m == first_ && !firstNumbered_) return parts_.base;
  return NumberedBase(parts_.base, style_, m);
}

std::u16string CandidateSequence::Name(int64_t m) const { return Base(m) + parts_.ext; }

std::optional<int64_t> CandidateSequence::NumberOf(std::u16string_view upper) const {
  if (!firstNumbered_ && upper.size() == upperBase_.size() + upperExt_.size() &&
      upper.starts_with(upperBase_) && upper.ends_with(upperExt_)) {
    return first_;
  }
  const std::u16string_view open = Opening(style_), close = Closing(style_);
  const std::size_t fixed = upperBase_.size() + open.size() + close.size() + upperExt_.size();
  if (upper.size() <= fixed || !upper.starts_with(upperBase_) || !upper.ends_with(upperExt_)) {
    return std::nullopt;
  }
  std::u16string_view rest = upper.substr(upperBase_.size());
  rest.remove_suffix(upperExt_.size());
  if (!rest.starts_with(open) || !rest.ends_with(close)) return std::nullopt;
  rest.remove_prefix(open.size());
  rest.remove_suffix(close.size());
  if (rest.empty() || rest.size() > 10 || (rest.size() > 1 && rest[0] == u'0')) {
    return std::nullopt;
  }
  int64_t m = 0;
  for (char16_t c : rest) {
    if (c < u'0' || c > u'9') return std::nullopt;
    m = m * 10 + (c - u'0');
  }
  const int64_t firstNumbered = firstNumbered_ ? first_ : first_ + 1;
  if (m < firstNumbered || m >= kNumberLimit) return std::nullopt;
  return m;
}

}  // namespace dovetam
