// Placeholder bodies until the slide entry windows land.
#include "editing/SlideEntryCommands.h"

namespace lumo {

SlideEntryCommands::SlideEntryCommands(TForm1& main) : main_(main) {}
SlideEntryCommands::~SlideEntryCommands() = default;
void SlideEntryCommands::StartNewSlide() {}
void SlideEntryCommands::StartEditSlide() {}
void SlideEntryCommands::StartNewKeyword() {}
void SlideEntryCommands::DiaSichern() {}
void SlideEntryCommands::KeyEditor() {}
void SlideEntryCommands::KeyAblage() {}
void SlideEntryCommands::LevelButton(int) {}
void SlideEntryCommands::InsertKeyword(const QString&) {}
void SlideEntryCommands::UndoKeywordLists() {}
void SlideEntryCommands::ShowSlideData(int32_t) {}

} // namespace lumo
