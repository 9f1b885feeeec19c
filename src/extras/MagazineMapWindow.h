#pragma once
// MagazineMapWindow "Magazinübersicht": one box at a time as its magazines and places,
// which are empty, taken or claimed by several slides; beside it every box in use with
// its counts and labels, below it the slides without a place. A click or Enter on a slide
// opens the slide data viewer; on an empty place it starts a new slide for that place.
#include "extras/PlaceGridModel.h"
#include "extras/logic/PlaceGrid.h"
#include "ui/FeatureContext.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;
class QTableView;
class QTreeWidget;

namespace lumo {

struct PlaceRequest {
    int box = 0;
    std::string code; // "A03"
};

class MagazineMapWindow : public QDialog {
    Q_OBJECT
public:
    MagazineMapWindow(const FeatureContext& ctx, std::function<void(int32_t)> showSlide);

    // Reads the archive anew and shows `box` (or the first box in use when it has none).
    void Reload(int box = -1);
    void ShowBox(int box);
    void StepBox(int delta); // Page Up / Page Down

    void onActivatePlace(); // click or Enter on the current place
    void onNewSlideHere();  // "Neues Dia hier erfassen"
    void onPrint();
    void onSavePdf();
    void onHelp();

    // After the window closed: the place "Neues Dia hier erfassen" was chosen for.
    const std::optional<PlaceRequest>& placeRequest() const { return placeRequest_; }
    int shownBox() const { return model_->map().box; }
    const PlaceGridModel& model() const { return *model_; }
    QString title() const;         // "Kasten 3 – …" as printed
    QStringList footLines() const; // summary and the slides without a place

    QTreeWidget* boxList = nullptr;
    QTableView* grid = nullptr;
    QListWidget* unplacedList = nullptr;
    QLabel* heading = nullptr;
    QPushButton* showButton = nullptr;
    QPushButton* newSlideButton = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* pdfButton = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* closeButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowSlides(const std::vector<int32_t>& slides, const QPoint& where);
    void OpenSlide(int32_t slide);
    void UpdateButtons();
    QString KeyNames(int32_t slide);
    void PlaceContextMenu(const QPoint& pos);

    FeatureContext ctx_;
    std::function<void(int32_t)> showSlide_;
    CollectionIndex index_;
    PlaceGridModel* model_ = nullptr;
    std::vector<std::pair<std::string, std::string>> labels_; // T1, T2 by box
    std::optional<PlaceRequest> placeRequest_;
};

} // namespace lumo
