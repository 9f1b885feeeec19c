#pragma once
// SlideDataViewer "Daten zum Dia anzeigen": shows one slide's stored data and pictureLabel; the
// user types a number or steps to the next or previous slide. Changes nothing.
#include "ui/FeatureContext.h"
#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lumo {

class SlideDataViewer : public QDialog {
    Q_OBJECT
public:
    explicit SlideDataViewer(const FeatureContext& ctx);

    // Puts the number into Dia-Nummer and shows that slide.
    void Fill(int32_t slide);

    void onSlideNumberChanged(); // every change of Dia-Nummer shows that slide
    void onNextSlide();          // next slide
    void onPreviousSlide();      // previous slide
    void onOpenPicture();        // opens bilder/<n>.jpg
    void onRefresh();            // hidden "Daten aktualisieren": same as a change of Dia-Nummer
    void onHelp();               // "&Hilfe zum Requester"
    void onClose();              // "Requester &schließen"
    // "Bild zuordnen..." of the picture's context menu, or an image file dropped on it:
    // the assigner writes the slide's pictures (an empty file: it asks for one), true
    // when it did. Without an assigner the picture takes no drops and has no menu.
    using PictureAssigner = std::function<bool(int32_t slide, const QString& file)>;
    void setPictureAssigner(PictureAssigner assigner);
    void onAssignPicture(const QString& file = {});

    QLineEdit* slideNumberEdit = nullptr; // "Dia-Nummer"
    QLineEdit* boxNumberEdit = nullptr;   // "Kasten-Nummer", read-only
    QLabel* infoTextLabel = nullptr;      // the information field as stored
    std::array<QCheckBox*, 8> keyBoxes{};
    QLabel* pictureLabel = nullptr;
    QToolButton* nextButton = nullptr;
    QToolButton* previousButton = nullptr;
    QPushButton* refreshButton = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* closeButton = nullptr;

    int32_t shownSlide() const { return shown_; }
    QString pictureFile() const { return pictureFile_; }

private:
    void Step(int delta);
    FeatureContext ctx_;
    int32_t shown_ = 0;
    QString pictureFile_;
    PictureAssigner assignPicture_;
};

} // namespace lumo
