#include "editing/SlideDataViewer.h"

#include "editing/SlidePicture.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "store/SlideDatabase.h"
#include "ui/DialogWidgets.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include <functional>

namespace lumo {

namespace {
// The picture area: a click opens the full-size image; a dropped image file or the
// context menu gives the slide a new picture.
class PictureLabel : public QLabel {
public:
    PictureLabel(QWidget* parent, std::function<void()> onClick,
                 std::function<void(QPoint, const QString&)> onAssign)
        : QLabel(parent), onClick_(std::move(onClick)), onAssign_(std::move(onAssign)) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            onClick_();
    }
    void contextMenuEvent(QContextMenuEvent* e) override {
        if (acceptDrops())
            onAssign_(e->globalPos(), {});
    }
    void dragEnterEvent(QDragEnterEvent* e) override {
        if (!DroppedFile(e->mimeData()).isEmpty())
            e->acceptProposedAction();
    }
    void dropEvent(QDropEvent* e) override {
        const QString file = DroppedFile(e->mimeData());
        if (file.isEmpty())
            return;
        e->acceptProposedAction();
        onAssign_({}, file);
    }

private:
    static QString DroppedFile(const QMimeData* data) {
        const auto urls = data ? data->urls() : QList<QUrl>();
        return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile()
                                                              : QString();
    }
    std::function<void()> onClick_;
    std::function<void(QPoint, const QString&)> onAssign_;
};

} // namespace

SlideDataViewer::SlideDataViewer(const FeatureContext& ctx)
    : QDialog(ctx.screen.MainWidget()), ctx_(ctx) {
    InstallHelpKey(this, [this] { onHelp(); }); // F1: as the help button
    setWindowTitle(QStringLiteral("Daten zum Dia anzeigen"));
    setFixedSize(460, 300);

    MakeLabel(this, QStringLiteral("Dia-Nummer"), 16, 18);
    slideNumberEdit = new QLineEdit(this);
    slideNumberEdit->setGeometry(120, 14, 70, 24);
    slideNumberEdit->setMaxLength(5);
    previousButton = new QToolButton(this);
    previousButton->setArrowType(Qt::LeftArrow);
    previousButton->setGeometry(196, 14, 24, 24);
    previousButton->setToolTip(QStringLiteral("Vorheriges Dia"));
    nextButton = new QToolButton(this);
    nextButton->setArrowType(Qt::RightArrow);
    nextButton->setGeometry(222, 14, 24, 24);
    nextButton->setToolTip(QStringLiteral("Nächstes Dia"));

    MakeLabel(this, QStringLiteral("Kasten-Nummer"), 16, 50);
    boxNumberEdit = new QLineEdit(this);
    boxNumberEdit->setGeometry(120, 46, 50, 24);
    boxNumberEdit->setReadOnly(true);

    MakeLabel(this, QStringLiteral("Informationstext"), 16, 90);
    infoTextLabel = new QLabel(this);
    infoTextLabel->setGeometry(16, 110, 428, 24);
    infoTextLabel->setFrameShape(QFrame::Panel);
    infoTextLabel->setFrameShadow(QFrame::Sunken);
    infoTextLabel->setTextFormat(Qt::PlainText);

    pictureLabel = new PictureLabel(
        this, [this] { onOpenPicture(); },
        [this](QPoint where, const QString& file) {
            if (!file.isEmpty()) {
                onAssignPicture(file);
                return;
            }
            QMenu menu(this);
            menu.addAction(QStringLiteral("Bild zuordnen..."), this, [this] { onAssignPicture(); });
            menu.exec(where);
        });
    pictureLabel->setAccessibleName(QStringLiteral("Bild"));
    pictureLabel->setGeometry(300, 14, 144, 88);
    pictureLabel->setScaledContents(true);
    pictureLabel->setCursor(Qt::WhatsThisCursor);
    pictureLabel->setFrameShape(QFrame::Panel);
    pictureLabel->setFrameShadow(QFrame::Sunken);

    for (int i = 0; i < 8; ++i) {
        auto* c = new QCheckBox(this);
        c->setGeometry(16 + (i / 4) * 216, 146 + (i % 4) * 24, 210, 22);
        c->setEnabled(false);
        keyBoxes[static_cast<size_t>(i)] = c;
    }

    refreshButton = new QPushButton(QStringLiteral("Daten aktualisieren"), this);
    refreshButton->setGeometry(16, 254, 10, 10);
    refreshButton->hide();
    helpButton = new QPushButton(QStringLiteral("&Hilfe zum Requester"), this);
    helpButton->setGeometry(16, 254, 160, 30);
    helpButton->setAutoDefault(false);
    closeButton = new QPushButton(QStringLiteral("Requester &schließen"), this);
    closeButton->setGeometry(284, 254, 160, 30);
    closeButton->setAutoDefault(false);

    connect(slideNumberEdit, &QLineEdit::textChanged, this, [this] { onSlideNumberChanged(); });
    connect(nextButton, &QToolButton::clicked, this, [this] { onNextSlide(); });
    connect(previousButton, &QToolButton::clicked, this, [this] { onPreviousSlide(); });
    connect(refreshButton, &QPushButton::clicked, this, [this] { onRefresh(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { onClose(); });
}

void SlideDataViewer::Fill(int32_t slide) {
    {
        const QSignalBlocker block(slideNumberEdit);
        slideNumberEdit->setText(QString::number(slide));
    }
    onSlideNumberChanged();
}

void SlideDataViewer::onSlideNumberChanged() {
    auto& st = ctx_.state;
    const QString text = slideNumberEdit->text();
    if (text.isEmpty())
        return;
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    if (!ok || n <= 0 || n > st.counters.totalRecords) {
        ctx_.messages.ShowError(7);
        ctx_.screen.SetScreenCaptions(mode::Disabled);
        return;
    }
    if (const Problem p = ReadSlide(st.archive, n, st.slide, st.keys, &st.keywordCache))
        ctx_.messages.Report(p);
    st.boxNumber = st.slide.boxNumber;
    shown_ = n;

    const auto picture = LoadSlidePicture(st.archive, text);
    pictureFile_ = picture.file;
    if (picture.pixmap.isNull())
        pictureLabel->clear();
    else
        pictureLabel->setPixmap(picture.pixmap);

    boxNumberEdit->setText(QString::number(st.slide.boxNumber));
    infoTextLabel->setText(FromCp1252(st.slide.infoText));
    for (size_t i = 0; i < 8; ++i) {
        auto* c = keyBoxes[i];
        c->setChecked(false);
        c->setText(QString());
        const auto& e = st.keys.entries[i];
        if (!e.name.empty()) {
            c->setText(FromCp1252(e.name));
            c->setChecked(true);
        }
    }
}

void SlideDataViewer::Step(int delta) {
    ctx_.sound.PlaySoundCue(QStringLiteral("next"), 300);
    const int32_t last = delta > 0 ? ctx_.state.counters.totalRecords : 1;
    if (shown_ == last) {
        ctx_.messages.ShowError(11);
        ctx_.screen.SetScreenCaptions(mode::Disabled);
        return;
    }
    slideNumberEdit->setText(QString::number(shown_ + delta));
}

void SlideDataViewer::onNextSlide() {
    Step(+1);
}
void SlideDataViewer::onPreviousSlide() {
    Step(-1);
}

void SlideDataViewer::onOpenPicture() {
    ctx_.sound.PlaySoundCue(QStringLiteral("camera1"), 800);
    ctx_.OpenDocument(QStringLiteral("bilder/") + slideNumberEdit->text() + QStringLiteral(".jpg"));
}

void SlideDataViewer::setPictureAssigner(PictureAssigner assigner) {
    assignPicture_ = std::move(assigner);
    pictureLabel->setAcceptDrops(bool(assignPicture_));
    pictureLabel->setFocusPolicy(assignPicture_ ? Qt::TabFocus : Qt::NoFocus);
}

void SlideDataViewer::onAssignPicture(const QString& file) {
    if (assignPicture_ && shown_ > 0 && assignPicture_(shown_, file))
        onSlideNumberChanged(); // shows the new small picture
}

void SlideDataViewer::onRefresh() {
    onSlideNumberChanged();
}

void SlideDataViewer::onHelp() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 300);
    ctx_.ShowHelp(3001);
}

void SlideDataViewer::onClose() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 0);
    accept();
}

} // namespace lumo
