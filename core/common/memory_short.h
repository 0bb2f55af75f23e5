// Memory running out: one event wherever it happens, and one road from the
// step that runs short to what the user is told.
//
// The step that needs memory fails with std::bad_alloc: the allocation
// itself, or a limit that stands in for it in the tests (AllowGrowth,
// platform/table_growth.h, and the text limit of a run's journal). Nothing
// on the way catches it but the edge of what the user asked for (a run, a
// re-run or a restore: core/run/operation_frame.h; the rule engine's door
// for the preview: core/rule/change_rule.h; a window's command:
// ui/widgets/memory_guard.h), through MemoryAllows, and the edge says so
// with one of the texts below. Only the tables of the lists grow by
// TryResize and answer false instead (their capacity must stay as it was);
// their callers say so with these texts too.
#pragma once

#include <new>
#include <string_view>

namespace dovetam {

// What running out of memory kept from being done, as the user is told.
enum class MemoryShort {
  NotDone,          // nothing of the command was done (also a rule's error text)
  NotFinished,      // a run, re-run or restore stopped part way (the counts follow)
  ReportNotShown,   // every target done, but the report did not fit in memory
  ReportNotSaved,   // every target done, but the report file could not be written
  ListsNotShown,    // every target done, but the order list could not be made again
  TargetsNotStored, // adding targets: some did not fit in the target table
  ListingNotShown,  // reading a folder: its listing did not fit
  NotAllAdded,      // adding dropped or given paths ("などにより": or other causes)
};

// The text of `what`: every one begins "メモリ不足のため、" (or, for
// NotAllAdded, "メモリ不足などにより、"); "\n" breaks the lines of a message.
constexpr std::u16string_view MemoryShortText(MemoryShort what) {
  switch (what) {
    case MemoryShort::NotDone: return u"メモリ不足のため、処理を実行できませんでした。";
    case MemoryShort::NotFinished: return u"メモリ不足のため、\n処理を最後まで実行できませんでした。";
    case MemoryShort::ReportNotShown: return u"メモリ不足のため、レポートを表示できませんでした。";
    case MemoryShort::ReportNotSaved: return u"メモリ不足のため、レポートを保存できませんでした。";
    case MemoryShort::ListsNotShown: return u"メモリ不足のため、一覧を表示できませんでした。";
    case MemoryShort::TargetsNotStored:
      return u"メモリ不足のため、\nいくつかのオブジェクトを格納できませんでした。";
    case MemoryShort::ListingNotShown:
      return u"メモリ不足のため、\n指定されたフォルダのファイル一覧を表示できませんでした。";
    case MemoryShort::NotAllAdded: return u"メモリ不足などにより、";
  }
  return {};
}

// Runs step(); false when memory ran out in it (std::bad_alloc), the step
// then left as far as it got. The one place where running out of memory is
// caught.
template <typename Step>
bool MemoryAllows(Step&& step) {
  try {
    step();
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace dovetam
