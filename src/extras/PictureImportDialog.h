#pragma once
// PictureImportDialog "Bilder zuordnen": a folder of scans, matched to slides by the
// number in each file's name or in name order from a first slide number, shown as a
// preview table before anything is written. A picture already there is replaced only when
// its box is ticked. The import runs on both cores with a progress bar and can be stopped.
#include "extras/logic/ScanMatching.h"
#include "ui/FeatureContext.h"

#include <QDialog>

#include <vector>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace lumo {

class PictureImportRun;

class PictureImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit PictureImportDialog(const FeatureContext& ctx);
    ~PictureImportDialog() override;

    void Prepare();        // empty table, nothing chosen
    void onChooseFolder(); // "&Ordner wählen..."
    void Plan();           // the preview table for the folder and the matching chosen
    void onImport();       // "&Zuordnen": runs until every file is done or stopped
    void onCancel();       // "&Abbrechen" while it runs
    void onHelp();

    const std::vector<ScanRow>& rows() const { return rows_; }
    bool running() const { return run_ != nullptr; }
    QString summary() const { return summary_; }

    QLineEdit* folderEdit = nullptr;
    QPushButton* folderButton = nullptr;
    QRadioButton* byNameButton = nullptr;
    QRadioButton* inOrderButton = nullptr;
    QSpinBox* firstSlideBox = nullptr;
    QSpinBox* qualityBox = nullptr;
    QTableWidget* table = nullptr;
    QProgressBar* progress = nullptr;
    QPushButton* importButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* closeButton = nullptr;

protected:
    void reject() override; // not while the import runs: it is stopped first

private:
    void TakeReplaceTicks();
    FeatureContext ctx_;
    std::vector<ScanRow> rows_;
    std::unique_ptr<PictureImportRun> run_;
    QString summary_;
};

} // namespace lumo
