#pragma once
// Slide entry and editing commands of the main window: new slides (mode 110), the
// edit path, KEY ABLAGE / KEY EDITOR, new keywords (mode 140), their undo, and the
// slide data viewer opened from a result row.
#include <cstdint>

#include <QString>

namespace lumo {

class TForm1;
class TForm8;
class TForm10;
class TForm11;

class SlideEntryCommands {
public:
    explicit SlideEntryCommands(TForm1& main);
    ~SlideEntryCommands();

    void StartNewSlide();        // SpeedButton1Click, "&Neue Dias eingeben...", BEARBEITEN
    void StartEditSlide();       // SpeedButton2Click, "Dias &editieren..."
    void StartNewKeyword();      // SpeedButton4Click, "Neue &Schlüssel  eingeben..."
    void DiaSichern();           // mode 110, soft button 1
    void KeyEditor();            // mode 110, soft button 2
    void KeyAblage();            // mode 110, soft button 3
    void LevelButton(int level); // mode 140, soft buttons 1..3
    void InsertKeyword(const QString& name); // input kind 5, valid name
    void UndoKeywordLists();                 // MenuDienste5Click
    void ShowSlideData(int32_t slide);       // result row click right of x 320

    // The yes/no question before a keyword is sorted into level 1..3.
    static QString InsertionQuestion(const QString& name, int level);

    TForm11* diaSave() const { return diaSave_; }
    TForm8* diaDaten() const { return diaDaten_; }
    TForm10* keyEdit() const { return keyEdit_; }

private:
    void ClearResultList();
    void RefreshLevelLists();
    void HidePrompt();

    TForm1& main_;
    TForm11* diaSave_ = nullptr;
    TForm8* diaDaten_ = nullptr;
    TForm10* keyEdit_ = nullptr;
};

} // namespace lumo
