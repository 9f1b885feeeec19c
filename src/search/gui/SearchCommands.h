#pragma once
// The five searches as the user starts them from the main window, the result-row
// clicks that open box labels, header data and memos, and the list reports.
#include "search/Reports.h"
#include "store/HeaderData.h"
#include "ui/FeatureContext.h"

#include <QString>

#include <cstdint>

namespace lumo {

class HeaderDataDialog;
class BoxLabelsDialog;
class MemoEditor;

class SearchCommands {
public:
    explicit SearchCommands(const FeatureContext& ctx);
    ~SearchCommands();

    void SearchByKeys();             // mode 210, "SUCHE DIAS" (KeySelection not empty)
    void InfoTextSearch();           // tool button, NEUE SUCHE in 240
    void BoxNumberSearch();          // tool button, NEUE SUCHE in 220
    void MemoSearch();               // tool button, NEUE SUCHE in 250
    void HeaderDataSearch();         // "Dias über Kopfdaten&felder suchen...", NEUE SUCHE in 260
    void TextEditor();               // result modes, soft button 1
    void MemoPrint();                // mode 250, soft button 3
    void WriteBoxList();             // "&1 - Liste der Kastenbezeichnungen erstellen..."
    void WriteKeyList();             // "&2 - Liste der verwendeten Schlüssel erstellen..."
    void ShowReportFiles();          // "&Analyse-Dateien anzeigen..."
    void ShowBoxLabels(int32_t box); // result row click left of x 150
    void ShowHeaderData(int32_t slide); // result row click between x 205 and 320
    void ShowMemo(int32_t slide);       // right click right of x 320
    void EnterBoxLabels();              // "&Kastenbezeichnungen eingeben..."
    void EnterMemos();                  // "&Memos eingeben..."
    void EnterHeaderData();             // "Kopf&daten eingeben..."

    // The header data scan with the criteria of HeaderDataDialog (HeaderDataDialog::RunSearch).
    void RunHeaderDataScan(HeaderDataDialog& form);

    // Date and time of the report heads (tests fix them).
    void setClock(ReportClock clock);

    HeaderDataDialog* headerDialog() const { return headerDialog_; }
    BoxLabelsDialog* boxLabelsDialog() const { return boxLabelsDialog_; }
    MemoEditor* memoEditor() const { return memoEditor_; }

private:
    enum class Kind { Keys, Info, Box, Memo, Header };
    void StartPromptSearch(Kind kind);
    void RunScan(Kind kind, HeaderValues* criteria);
    void EndScanFailed();
    QString Editor() const;

    FeatureContext ctx_;
    HeaderDataDialog* headerDialog_ = nullptr;
    BoxLabelsDialog* boxLabelsDialog_ = nullptr;
    MemoEditor* memoEditor_ = nullptr;
    ReportClock clock_;
};

} // namespace lumo
