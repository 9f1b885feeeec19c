#include "extras/OutputCommands.h"

#include "extras/ExportDialog.h"
#include "extras/LabelsDialog.h"
#include "platform/Sound.h"
#include "search/SearchRun.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <charconv>

namespace lumo {

std::vector<int32_t> ResultListSlides(const AppState& state) {
    std::vector<int32_t> slides;
    slides.reserve(state.searchResultList.size());
    for (const std::string& line : state.searchResultList) {
        const std::string number = RowFromListLine(line).slide;
        int32_t n = 0;
        const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
        if (ec == std::errc() && n > 0)
            slides.push_back(n);
    }
    return slides;
}

OutputCommands::OutputCommands(const FeatureContext& ctx) : ctx_(ctx) {}

OutputCommands::~OutputCommands() = default;

ExportDialog* OutputCommands::exportDialog() {
    if (!export_)
        export_ = std::make_unique<ExportDialog>(ctx_);
    return export_.get();
}

LabelsDialog* OutputCommands::labelsDialog() {
    if (!labels_)
        labels_ = std::make_unique<LabelsDialog>(ctx_);
    return labels_.get();
}

void OutputCommands::RunModal(QDialog& dialog, const QString& captionSuffix) {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    const int remembered = st.currentStatus;
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.messages.ShowStatus(20);
    ctx_.screen.SetWindowCaptionSuffix(captionSuffix);
    dialog.exec();
    ctx_.screen.SetScreenCaptions(st.screenMode);
    ctx_.messages.ShowStatus(remembered);
}

void OutputCommands::OpenExport() {
    ExportDialog* dialog = exportDialog();
    dialog->Prepare(ResultListSlides(ctx_.state));
    RunModal(*dialog, QStringLiteral(" - Exportieren..."));
}

void OutputCommands::OpenLabels() {
    LabelsDialog* dialog = labelsDialog();
    dialog->Prepare(ResultListSlides(ctx_.state));
    RunModal(*dialog, QStringLiteral(" - Etiketten und Ladelisten..."));
}

} // namespace lumo
