#pragma once
// Slide entry and editing commands, as the soft buttons, tool buttons and menu start them: new
// slides (mode 110), the edit path, KEY ABLAGE / KEY EDITOR, new keywords (mode 140), their undo,
// and the slide data viewer opened from a result row.
#include "ui/FeatureContext.h"

#include <QString>

#include <cstdint>
#include <string>

namespace lumo {

class SlideDataViewer;
class SelectedKeysDialog;
class SlideEntryDialog;

class SlideEntryCommands {
public:
    explicit SlideEntryCommands(const FeatureContext& ctx);
    ~SlideEntryCommands();

    void StartNewSlide(); // onNewSlides, "&Neue Dias eingeben...", BEARBEITEN
    // New-slide entry whose next slide gets this box and position code proposed.
    void StartNewSlideAt(int box, const std::string& code);
    void StartEditSlide();                   // onEditSlides, "Dias &editieren..."
    void StartNewKeyword();                  // onNewKeywords, "Neue &Schlüssel  eingeben..."
    void SaveSlide();                        // mode 110, soft button 1
    void KeyEditor();                        // mode 110, soft button 2
    void ExchangeKeyStore();                 // mode 110, soft button 3
    void LevelButton(int level);             // mode 140, soft buttons 1..3
    void InsertKeyword(const QString& name); // input kind 5, valid name
    void UndoKeywordLists();                 // onUndoKeywordLists
    void ShowSlideData(int32_t slide);       // result row click right of x 320

    // The yes/no question before a keyword is sorted into level 1..3.
    static QString InsertionQuestion(const QString& name, int level);

    SlideEntryDialog* slideEntryDialog() const { return slideEntryDialog_; }
    SlideDataViewer* slideDataViewer() const { return slideDataViewer_; }
    SelectedKeysDialog* selectedKeysDialog() const { return selectedKeysDialog_; }

private:
    void ClearResultList();
    void RefreshLevelLists();
    void HidePrompt();

    FeatureContext ctx_;
    SlideEntryDialog* slideEntryDialog_ = nullptr;
    SlideDataViewer* slideDataViewer_ = nullptr;
    SelectedKeysDialog* selectedKeysDialog_ = nullptr;
};

} // namespace lumo
