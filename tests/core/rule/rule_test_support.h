// Shared pieces of the rule engine tests: a file system that answers only
// dates (from a table, counting the reads; it lists and opens no folder), and a fixture that holds the
// settings, context and workspace of one engine call for the stages that are
// tested below GenerateNewName.
#pragma once

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "core/settings/settings.h"
#include "platform/capacities.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "core/rule/rule_call.h"
#include "core/rule/rule_workspace.h"

namespace dovetam::testing {

class DateOnlyFileSystem : public FileSystem {
 public:
  std::map<std::u16string, Date> modified;  // missing path: 53
  std::map<std::u16string, Date> created;
  int reads = 0;

  int GetDateLastModified(std::u16string_view path, bool, Date& date) override {
    return Lookup(modified, path, date);
  }
  int GetDateCreated(std::u16string_view path, bool, Date& date) override {
    return Lookup(created, path, date);
  }
  int ListFolder(std::u16string_view, std::vector<FsEntry>&, std::vector<FsEntry>&) override { return kFsIoError; }
  int ListFolderWithDates(std::u16string_view, bool, bool, std::vector<FsEntry>&, std::vector<FsEntry>&,
                          FolderIdentity&) override {
    return kFsIoError;
  }
  int OpenFolder(std::u16string_view, std::unique_ptr<FolderHandle>&) override { return kFsIoError; }
  int FileExists(std::u16string_view, bool&) override { return kFsIoError; }
  int FolderExists(std::u16string_view, bool&) override { return kFsIoError; }
  int GetFullPath(std::u16string_view, bool, std::u16string&) override { return kFsIoError; }
  int Rename(std::u16string_view, std::u16string_view, std::u16string_view) override { return kFsIoError; }
  int DeleteFile(std::u16string_view) override { return kFsIoError; }
  int CreateTextFile(std::u16string_view, std::unique_ptr<TextFile>&) override { return kFsIoError; }
  int AppendTextFile(std::u16string_view, std::unique_ptr<TextFile>&) override { return kFsIoError; }
  std::vector<std::u16string> Drives() override { return {u"/"}; }

 private:
  int Lookup(const std::map<std::u16string, Date>& dates, std::u16string_view path, Date& date) {
    ++reads;
    auto it = dates.find(std::u16string(path));
    if (it == dates.end()) return kFsNotFound;
    date = it->second;
    return kFsOk;
  }
};

// One engine call below GenerateNewName: object 7 of 10, last modified
// 1990/1/2 3:04:05, created 1991/6/7 8:09:10.
class RuleCallTest : public ::testing::Test {
 protected:
  RuleCallTest() {
    ResetWorkspace(ws, caps);
    context.CurPos = 7;
    context.CurTotal = 10;
    context.CurModified = MakeDate(1990, 1, 2, 3, 4, 5);
    context.CurCreated = MakeDate(1991, 6, 7, 8, 9, 10);
    context.CurPath = u"/nowhere/file.txt";
  }

  // The clip list holds `items`, front cursor on the first, back on the last.
  void SetClipItems(std::initializer_list<std::u16string> items) {
    ASSERT_TRUE(GrowClipListTo(ws, static_cast<int32_t>(items.size()), caps));
    int32_t k = 0;
    for (const auto& item : items) ws.ClipItems[static_cast<std::size_t>(++k)] = item;
    ws.ClipCount = k;
    ws.ClipFront = 1;
    ws.ClipBack = k;
  }

  Settings settings;
  RuleContext context;
  RuleWorkspace ws;
  DateOnlyFileSystem fs;
  Capacities caps = Capacities::Large();
  RuleCall call{settings, context, ws, fs, caps};
};

}  // namespace dovetam::testing
