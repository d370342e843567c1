// A click on a row of the results list shows what the finding holds.
#include "results/ItemDetails.h"

#include "app/Form1.h"

namespace nb {

void TForm1::List2ItemClick(int row) {
  if (State.Busy) return;
  List3.Clear();
  constexpr int kFiles = 0;
  if (List2.RowCount(kFiles) == 0 || row < 0 || row >= List2.RowCount(kFiles)) return;
  const Text caption(List2.RowCaption(kFiles, row)), sizeText(List2.RowDetail(kFiles, row));
  for (Text& line : ItemDetailLines(Os, State.ShownSection, caption, sizeText)) List3.AddLine(std::move(line));
}

}  // namespace nb
