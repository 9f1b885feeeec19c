#include "extras/MapAndScanCommands.h"

#include "extras/MagazineMapWindow.h"
#include "extras/PictureImportDialog.h"
#include "extras/ScanImport.h"
#include "platform/Sound.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QDir>
#include <QFileInfo>

namespace lumo {

MapAndScanCommands::MapAndScanCommands(const FeatureContext& ctx, Hooks hooks)
    : ctx_(ctx), hooks_(std::move(hooks)) {
    map_ = new MagazineMapWindow(ctx, hooks_.showSlide);
    import_ = new PictureImportDialog(ctx);
}

void MapAndScanCommands::OpenMagazineMap() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    const int remembered = st.currentStatus;
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.messages.ShowStatus(20);
    ctx_.screen.SetBusyCursor(true);
    map_->Reload(st.boxNumber);
    ctx_.screen.SetBusyCursor(false);
    map_->exec();
    ctx_.screen.SetScreenCaptions(st.screenMode);
    ctx_.messages.ShowStatus(remembered);
    if (const auto& place = map_->placeRequest(); place && hooks_.newSlideAt)
        hooks_.newSlideAt(place->box, place->code);
}

void MapAndScanCommands::ImportPictures() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    const int remembered = st.currentStatus;
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.messages.ShowStatus(20);
    import_->Prepare();
    import_->exec();
    ctx_.screen.SetScreenCaptions(st.screenMode);
    ctx_.messages.ShowStatus(remembered);
}

bool MapAndScanCommands::AssignPicture(int32_t slide, const QString& chosen) {
    auto& msg = ctx_.messages;
    const QString file =
        !chosen.isEmpty()
            ? chosen
            : msg.GetOpenFileName(QStringLiteral("Bild zuordnen"), QDir::homePath(),
                                  QStringLiteral("Bilder (*.jpg *.jpeg *.png *.tif *.tiff *.webp "
                                                 "*.bmp);;Alle Dateien (*)"));
    if (file.isEmpty())
        return false;
    if (PictureLookup(ctx_.state.archive)(slide) &&
        !msg.AskConfirmation(QStringLiteral("Dia %1 hat schon ein Bild.\rSoll es ersetzt "
                                            "werden ?")
                                 .arg(slide)))
        return false;
    const QFileInfo info(file);
    ScanRow row{QFile::encodeName(info.fileName()).toStdString(), slide, ScanMatch::Ready, true};
    const auto jobs = MakeImportJobs(ctx_.state.archive, info.absolutePath(), {row});
    ctx_.screen.SetBusyCursor(true);
    const ConvertedScan scan = ConvertScanFile(file, kDefaultJpegQuality);
    QString failed, reason = scan.error;
    if (reason.isEmpty())
        if (const int err = WriteScanPictures(jobs.front(), scan, &failed))
            reason = failed + QStringLiteral(" konnte nicht geschrieben werden (Fehler ") +
                     QString::number(err) + u')';
    ctx_.screen.SetBusyCursor(false);
    if (!reason.isEmpty()) {
        msg.ShowNotice(QStringLiteral("Das Bild ") + info.fileName() +
                       QStringLiteral("\rkonnte nicht zugeordnet werden:\r") + reason);
        return false;
    }
    ctx_.sound.PlaySoundCue(QStringLiteral("camera1"), 0);
    return true;
}

} // namespace lumo
