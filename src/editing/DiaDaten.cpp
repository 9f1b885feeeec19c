#include "editing/DiaDaten.h"

#include "editing/FormWidgets.h"
#include "editing/SlidePicture.h"
#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "shell/Main.h"
#include "shell/MessageCatalog.h"
#include "store/SlideDatabase.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include <functional>

namespace lumo {

namespace {
// The picture area: a click opens the full-size image.
class PictureLabel : public QLabel {
public:
    PictureLabel(QWidget* parent, std::function<void()> onClick)
        : QLabel(parent), onClick_(std::move(onClick)) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            onClick_();
    }

private:
    std::function<void()> onClick_;
};

} // namespace

TForm8::TForm8(TForm1& main) : QDialog(&main), main_(main) {
    setWindowTitle(QStringLiteral("Daten zum Dia anzeigen"));
    setFixedSize(460, 300);

    MakeLabel(this, QStringLiteral("Dia-Nummer"), 16, 18);
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(120, 14, 70, 24);
    Edit1->setMaxLength(5);
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setArrowType(Qt::LeftArrow);
    SpeedButton2->setGeometry(196, 14, 24, 24);
    SpeedButton2->setToolTip(QStringLiteral("Vorheriges Dia"));
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setArrowType(Qt::RightArrow);
    SpeedButton1->setGeometry(222, 14, 24, 24);
    SpeedButton1->setToolTip(QStringLiteral("Nächstes Dia"));

    MakeLabel(this, QStringLiteral("Kasten-Nummer"), 16, 50);
    Edit2 = new QLineEdit(this);
    Edit2->setGeometry(120, 46, 50, 24);
    Edit2->setReadOnly(true);

    MakeLabel(this, QStringLiteral("Informationstext"), 16, 90);
    Label3 = new QLabel(this);
    Label3->setGeometry(16, 110, 428, 24);
    Label3->setFrameShape(QFrame::Panel);
    Label3->setFrameShadow(QFrame::Sunken);
    Label3->setTextFormat(Qt::PlainText);

    Image1 = new PictureLabel(this, [this] { Image1Click(); });
    Image1->setGeometry(300, 14, 144, 88);
    Image1->setScaledContents(true);
    Image1->setCursor(Qt::WhatsThisCursor);
    Image1->setFrameShape(QFrame::Panel);
    Image1->setFrameShadow(QFrame::Sunken);

    for (int i = 0; i < 8; ++i) {
        auto* c = new QCheckBox(this);
        c->setGeometry(16 + (i / 4) * 216, 146 + (i % 4) * 24, 210, 22);
        c->setEnabled(false);
        CheckBox[static_cast<size_t>(i)] = c;
    }

    BitBtn1 = new QPushButton(QStringLiteral("Daten aktualisieren"), this);
    BitBtn1->setGeometry(16, 254, 10, 10);
    BitBtn1->hide();
    BitBtn2 = new QPushButton(QStringLiteral("&Hilfe zum Requester"), this);
    BitBtn2->setGeometry(16, 254, 160, 30);
    BitBtn2->setAutoDefault(false);
    BitBtn3 = new QPushButton(QStringLiteral("Requester &schließen"), this);
    BitBtn3->setGeometry(284, 254, 160, 30);
    BitBtn3->setAutoDefault(false);

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
}

void TForm8::Fill(int32_t slide) {
    {
        const QSignalBlocker block(Edit1);
        Edit1->setText(QString::number(slide));
    }
    Edit1Change();
}

void TForm8::Edit1Change() {
    auto& st = main_.state();
    const QString text = Edit1->text();
    if (text.isEmpty())
        return;
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    if (!ok || n <= 0 || n > st.counters.totalRecords) {
        main_.messages().ShowError(7);
        main_.SetScreenCaptions(mode::Disabled);
        return;
    }
    if (const Problem p = ReadSlide(st.archive, n, st.slide, st.keys, &st.keywordCache))
        main_.messages().Report(p);
    st.boxNumber = st.slide.boxNumber;
    shown_ = n;

    const auto picture = LoadSlidePicture(st.archive, text);
    pictureFile_ = picture.file;
    if (picture.pixmap.isNull())
        Image1->clear();
    else
        Image1->setPixmap(picture.pixmap);

    Edit2->setText(QString::number(st.slide.boxNumber));
    Label3->setText(FromCp1252(st.slide.infoText));
    for (size_t i = 0; i < 8; ++i) {
        auto* c = CheckBox[i];
        c->setChecked(false);
        c->setText(QString());
        const auto& e = st.keys.entries[i];
        if (!e.name.empty()) {
            c->setText(FromCp1252(e.name));
            c->setChecked(true);
        }
    }
}

void TForm8::Step(int delta) {
    main_.sound().PlaySoundCue(QStringLiteral("next"), 300);
    const int32_t last = delta > 0 ? main_.state().counters.totalRecords : 1;
    if (shown_ == last) {
        main_.messages().ShowError(11);
        main_.SetScreenCaptions(mode::Disabled);
        return;
    }
    Edit1->setText(QString::number(shown_ + delta));
}

void TForm8::SpeedButton1Click() {
    Step(+1);
}
void TForm8::SpeedButton2Click() {
    Step(-1);
}

void TForm8::Image1Click() {
    main_.sound().PlaySoundCue(QStringLiteral("camera1"), 800);
    main_.OpenDocument(QStringLiteral("bilder/") + Edit1->text() + QStringLiteral(".jpg"));
}

void TForm8::BitBtn1Click() {
    Edit1Change();
}

void TForm8::BitBtn2Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 300);
    main_.ShowHelp(3001);
}

void TForm8::BitBtn3Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 0);
    accept();
}

} // namespace lumo
