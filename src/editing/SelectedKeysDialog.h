#pragma once
// SelectedKeysDialog "Selektierte Schlüssel": the keys picked for the slide being entered; the
// user unticks keys to drop them or empties the whole selection.
#include "ui/FeatureContext.h"
#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace lumo {

class SelectedKeysDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectedKeysDialog(const FeatureContext& ctx);

    // One box per selection entry: name, checked and enabled; "?" for an empty entry.
    void Prepare();

    void onUpdate();   // "&Schlüssel aktualisieren"
    void onHelp();     // help
    void onClose();    // "&Beenden"
    void onClearAll(); // "Alle &löschen"

    QLabel* headingLabel = nullptr;
    std::array<QCheckBox*, 8> keyBoxes{};
    QPushButton* updateButton = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* closeButton = nullptr;
    QPushButton* clearAllButton = nullptr;

private:
    FeatureContext ctx_;
};

} // namespace lumo
