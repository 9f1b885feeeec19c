#pragma once
// The five searches as the user starts them from the main window, the result-row
// clicks that open box labels, header data and memos, and the list reports.
#include <cstdint>

namespace lumo {

class TForm1;
class TForm3;

class SearchCommands {
public:
    explicit SearchCommands(TForm1& main);
    ~SearchCommands();

    void SearchByKeys();     // mode 210, "SUCHE DIAS" (KeySelection not empty)
    void InfoTextSearch();   // SpeedButton6, NEUE SUCHE in 240
    void BoxNumberSearch();  // SpeedButton7, NEUE SUCHE in 220
    void MemoSearch();       // SpeedButton8, NEUE SUCHE in 250
    void HeaderDataSearch(); // "Dias über Kopfdaten&felder suchen...", NEUE SUCHE in 260
    void TextEditor();       // result modes, soft button 1
    void MemoPrint();        // mode 250, soft button 3
    void WriteBoxList();     // "&1 - Liste der Kastenbezeichnungen erstellen..."
    void WriteKeyList();     // "&2 - Liste der verwendeten Schlüssel erstellen..."
    void ShowReportFiles();  // "&Analyse-Dateien anzeigen..."
    void ShowBoxLabels(int32_t box);     // result row click left of x 150
    void ShowHeaderData(int32_t slide);  // result row click between x 205 and 320
    void ShowMemo(int32_t slide);        // right click right of x 320

    TForm3* headerDialog() const { return form3_; }

private:
    TForm1& main_;
    TForm3* form3_ = nullptr;
};

} // namespace lumo
