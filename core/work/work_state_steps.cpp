#include "core/work/work_state_steps.h"

#include "core/objects/index_sort.h"
#include "core/objects/target_commands.h"
#include "core/common/path_helpers.h"
#include "core/work/work_state.h"

namespace dovetam {

bool AskGuardQuestion(WorkState& state, bool allTargets) {
  if (state.ChangeState == 0) return true;
  const std::u16string text =
      std::u16string(u"この操作を行うと、名前の再変更・復元ができなくなります。\n") +
      (allTargets ? u"すべての選択を解除しますか？" : u"続行しますか？");
  if (state.svc.boxes.Show(text, MsgIcon::Exclamation, MsgButtons::YesNo, MsgAnswer::No) !=
      MsgAnswer::Yes)
    return false;
  state.ChangeState = 0;
  return true;
}

void SortSelectIndex(WorkState& state, int32_t first, int32_t last) {
  SortListingIndex(state.listing, ListingLevels(state.sort, state.settings.view.ViewMix), first,
                   last);
}

void SortObjectIndex(WorkState& state, int32_t first, int32_t last) {
  SortTargetIndex(state.objects, TargetLevels(state.sort, state.settings.view.ViewMix), first,
                  last);
}

void ResortListing(WorkState& state) {
  ResetListingOrder(state.listing);
  SortSelectIndex(state, 1, state.listing.ListCount);
}

void SortTargetsUnlessFrozen(WorkState& state) {
  if ((state.ChangeState & 1) != 0) return;
  ResetTargetOrder(state.objects);
  SortObjectIndex(state, 1, state.objects.ObjCount);
}

std::vector<ColumnTitle> ListingColumnTitles(const WorkState& state) {
  const ViewSettings& v = state.settings.view;
  return ColumnTitles(state.sort.ListSortKey, state.sort.ListSortDir, v.ViewModified, v.ViewCreated,
                      false);
}

std::vector<ColumnTitle> TargetColumnTitles(const WorkState& state) {
  const ViewSettings& v = state.settings.view;
  return ColumnTitles(state.sort.ObjSortKey, state.sort.ObjSortDir, v.ViewModified, v.ViewCreated,
                      state.ChangeState != 0);
}

void ResetSortKeys(SortState& sort, const ViewSettings& view) {
  for (int level = 1; level <= 3; ++level) {
    sort.ListSortKey[level] = static_cast<int16_t>(level);
    sort.ListSortDir[level] = 1;
    sort.ObjSortKey[level] = static_cast<int16_t>(level);
    sort.ObjSortDir[level] = 1;
  }
  sort.SortKeyCount =
      static_cast<int16_t>(1 + (view.ViewModified ? 1 : 0) + (view.ViewCreated ? 1 : 0));
  if (view.ViewCreated && !view.ViewModified) {
    SwapVariants(sort.ListSortKey[2], sort.ListSortKey[3]);
    SwapVariants(sort.ObjSortKey[2], sort.ObjSortKey[3]);
  }
}

namespace {

// Reads one date of one object; 0 and false when it cannot be read.
bool ReadDate(FileSystem& fs, const std::u16string& path, bool isFolder, bool created, Date& date) {
  const int err = created ? fs.GetDateCreated(path, isFolder, date)
                          : fs.GetDateLastModified(path, isFolder, date);
  if (err != kFsOk) {
    date = 0;
    return false;
  }
  return true;
}

int FetchColumn(FileSystem& fs, ObjectTable& objects, ListingTable& listing, bool created,
                bool listingValid) {
  bool failed = false;
  auto& objDates = created ? objects.ObjCreated : objects.ObjModified;
  for (int32_t i = 1; i <= objects.ObjCount; ++i) {
    if (objDates[i] != 0) continue;
    if (!ReadDate(fs, objects.ObjFolder[i] + objects.ObjName[i], objects.ObjIsFolder[i], created,
                  objDates[i]))
      failed = true;
  }
  if (listingValid) {
    auto& listDates = created ? listing.ListCreated : listing.ListModified;
    for (int32_t i = 1; i <= listing.ListCount; ++i) {
      if (listDates[i] != 0) continue;
      if (!ReadDate(fs, listing.ListFolder + listing.ListName[i], listing.ListIsFolder[i], created,
                    listDates[i]))
        failed = true;
    }
  }
  return failed ? (created ? kCreatedFailed : kModifiedFailed) : 0;
}

}  // namespace

int FetchMissingDates(FileSystem& fs, ObjectTable& objects, ListingTable& listing,
                      bool readModified, bool readCreated, bool listingValid) {
  int failures = 0;
  if (readModified) failures |= FetchColumn(fs, objects, listing, false, listingValid);
  if (readCreated) failures |= FetchColumn(fs, objects, listing, true, listingValid);
  return failures;
}

std::u16string DateFetchFailureMessage(int failures) {
  if (failures == 0) return {};
  std::u16string kind;
  if (failures == kModifiedFailed)
    kind = u"更新日時";
  else if (failures == kCreatedFailed)
    kind = u"作成日時";
  else
    kind = u"更新日時・作成日時";
  return u"いくつかのオブジェクトの" + kind + u"を、正常に取得できませんでした。\n" +
         u"便宜上、日時は\"" + FormatDate(0) + u"\"に設定されています。";
}

void DeleteRunFiles(FileSystem& fs, MessageBoxes& boxes, const std::u16string& logPath,
                    const std::u16string& reportPath) {
  int failures = 0;
  for (const auto* path : {&logPath, &reportPath}) {
    bool exists = false;
    if (fs.FileExists(*path, exists) != kFsOk) {
      failures |= 1;
      continue;
    }
    if (!exists) continue;
    // The existence test ignores letter case, the delete does not: a user's
    // file that has the name only in another case is not the program's file.
    // It stays, and finding no file of the exact name is no failure.
    const int err = fs.DeleteFile(*path);
    if (err != kFsOk && err != kFsNotFound) failures |= 2;
  }
  if (failures == 0) return;
  if (failures & 2)
    boxes.Show(u"ログまたはレポートを削除できませんでした。", MsgIcon::Critical);
  else
    boxes.Show(u"ログまたはレポートの存在を確認できなかったため、\n削除できませんでした。",
               MsgIcon::Critical);
}

}  // namespace dovetam
