// The handlers that show the findings: a section click fills the results
// list, "Check all" and "Uncheck all" tick or untick every row, a column
// click regroups the rows, a row click shows what its finding holds.
#include "app/Form1.h"
#include "catalogue/Catalogue.h"
#include "results/ItemDetails.h"
#include "app/ResultsRows.h"

namespace nb {

void TForm1::List1ItemClick(int group, int item) {
  if (State.Busy() || State.Results.Empty()) return;
  List2.RemoveGroupRows(kFindingsGroup);
  List3.Clear();
  State.ShownSection = SectionForPosition(group, item);
  if (State.ShownSection.empty()) return;

  BusyScope busy(State);
  List2.BeginUpdate();
  FillSection(State.Results, SectionNumberOf(State.ShownSection), State.DecimalSeparator, Host, List2);
  List2.EndUpdate();
}

void TForm1::Label1Click() {
  if (!State.Busy()) SetAllChecks(List2, true);
}

void TForm1::Label2Click() {
  if (!State.Busy()) SetAllChecks(List2, false);
}

void TForm1::List2ColumnClick(int column) {
  if (!State.Busy()) List2.SortByColumn(column);
}

void TForm1::List2ItemClick(int row) {
  if (State.Busy()) return;
  List3.Clear();
  if (row < 0 || row >= List2.RowCount(kFindingsGroup)) return;
  // A row whose finding was deleted shows nothing.
  const uint32_t item = List2.RowItem(kFindingsGroup, row);
  if (item == ui::kNoRowItem) return;
  for (Text& line : ItemDetailLines(Os, State.Results, item)) List3.AddLine(std::move(line));
}

}  // namespace nb
