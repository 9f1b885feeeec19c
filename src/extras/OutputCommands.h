#pragma once
// The menu entries "E&xtras / &Exportieren..." and "E&xtras / &Etiketten und
// Ladelisten...": each opens its window modally over the main screen, which keeps its
// result list (the windows can take the current result list as their slides).
#include "ui/FeatureContext.h"

#include <QString>

class QDialog;

#include <cstdint>
#include <memory>
#include <vector>

namespace lumo {

class ExportDialog;
class LabelsDialog;

// The slide numbers of the current result list, in its order (empty when there is none).
std::vector<int32_t> ResultListSlides(const AppState& state);

class OutputCommands {
public:
    explicit OutputCommands(const FeatureContext& ctx);
    ~OutputCommands();

    void OpenExport();
    void OpenLabels();

    ExportDialog* exportDialog();
    LabelsDialog* labelsDialog();

private:
    FeatureContext ctx_;
    std::unique_ptr<ExportDialog> export_;
    std::unique_ptr<LabelsDialog> labels_;
    // Runs a window modally: soft buttons disabled, status text 20 and the caption suffix
    // while it is open, the screen as it was afterwards.
    void RunModal(QDialog& dialog, const QString& captionSuffix);
};

} // namespace lumo
