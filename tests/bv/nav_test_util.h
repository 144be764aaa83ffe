// Helpers of the navigation tests: a focused grid driven by real key and
// mouse events through the off-screen backend, and an event log.
#pragma once

#include <string>
#include <vector>

#include "backend/backend.h"
#include "backend/codes.h"
#include "controls/wincore.h"
#include "grid_test_util.h"

namespace brevant::test {

class NavTest : public GridTest {
 protected:
  // n records in a grid with `rows` rows; the grid takes the focus.
  void Open(Integer n, Integer rows = 5);
  // A key pressed and released (modifier bits bmShift, bmCtrl, bmAlt).
  void Key(Word vk, Byte modifiers = 0);
  // The centre of a column's cell, title or footer (client coordinates).
  TPoint CellPoint(Integer column, Integer row);
  TPoint TitlePoint(Integer column);
  TPoint FooterPoint(Integer column);
  void ClickAt(TPoint p, TBackendButton button = bbLeft, Byte modifiers = 0);
  void ClickCell(Integer column, Integer row, Byte modifiers = 0);
  // The IDs of the selected records, ascending.
  std::vector<Integer> SelectedIDs();
  // Logs the column, selection, insert and pickup events of the grid.
  void LogEvents();

  std::vector<std::string> events;  // what LogEvents recorded
};

}  // namespace brevant::test
