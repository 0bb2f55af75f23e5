// The work state of the main window: the tables, the settings module, the
// rule engine, the run journal and the shared values of the two pages. One
// plain struct, made once by the main window and shared by reference with
// its pages, which read and write its fields directly; it lives until the
// process ends. The steps on it that need no window are in
// work_state_steps.h.
#pragma once

#include <cstdint>
#include <string>

#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"
#include "core/objects/sort_state.h"
#include "core/rule/change_rule.h"
#include "core/run/run_journal.h"
#include "core/settings/services.h"
#include "core/settings/settings.h"

namespace dovetam {

struct WorkState {
  explicit WorkState(Services services)
      : svc(std::move(services)),
        settings(svc.store, svc.boxes),
        engine(settings.settings, svc.fs, svc.caps) {}
  WorkState(const WorkState&) = delete;
  WorkState& operator=(const WorkState&) = delete;

  Services svc;
  SettingsModule settings;
  RuleEngine engine;  // engine.context is the RuleContext
  ListingTable listing;
  ObjectTable objects;
  SortState sort;
  RunJournal journal;

  // While above 0 the change handlers of the drive list, the folder tree,
  // the rule boxes and chkRule do nothing (EventLockGuard).
  int EventLock = 0;
  // 0, or 3 after a rename run: bit 1 allows the re-run, bit 2 the restore.
  int16_t ChangeState = 0;
  int RuleBoxWidth = 0;  // the design width of txtRule1 (twips), taken at start-up
  std::u16string HelpPath;  // the program's folder + "dovetam_help.html"
  std::u16string LogPath;   // the program's folder + "dovetam_rename.log"
  // A mouse button went down in the list and its release is not handled yet.
  int16_t SelectListPressed = 0;
  int16_t TargetListPressed = 0;
  int16_t OrderListPressed = 0;
  // The rule boxes and chkRule at the end of the last rename run; the guard
  // puts them back when it is answered No.
  std::u16string LastRule1;
  std::u16string LastRule2;
  bool LastChkRule = false;
  // The view settings handed to the view dialog and back (-1: not decided).
  int16_t ViewDialogMask = 0;
};

}  // namespace dovetam
