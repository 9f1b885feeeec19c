// Placeholder bodies until the search windows land.
#include "search/gui/SearchCommands.h"

namespace lumo {

SearchCommands::SearchCommands(TForm1& main) : main_(main) {}
SearchCommands::~SearchCommands() = default;
void SearchCommands::SearchByKeys() {}
void SearchCommands::InfoTextSearch() {}
void SearchCommands::BoxNumberSearch() {}
void SearchCommands::MemoSearch() {}
void SearchCommands::HeaderDataSearch() {}
void SearchCommands::TextEditor() {}
void SearchCommands::MemoPrint() {}
void SearchCommands::WriteBoxList() {}
void SearchCommands::WriteKeyList() {}
void SearchCommands::ShowReportFiles() {}
void SearchCommands::ShowBoxLabels(int32_t) {}
void SearchCommands::ShowHeaderData(int32_t) {}
void SearchCommands::ShowMemo(int32_t) {}

} // namespace lumo
