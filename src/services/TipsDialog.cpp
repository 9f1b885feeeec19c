#include "services/TipsDialog.h"

#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "services/DialogParts.h"
#include "services/logic/Tips.h"
#include "store/FileUtil.h"
#include "ui/MessageCatalog.h"
#include "ui/QuestionDialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>

namespace lumo {

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Tip files end their lines with CR LF (or CR alone); the window breaks lines at LF.
QString TipScreenText(const std::string& bytes) {
    QString text = FromCp1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

TipsDialog::TipsDialog(const FeatureContext& context, QWidget* parent)
    : QDialog(parent), ctx_(context) {
    setWindowTitle(QStringLiteral("Tips und Tricks"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(544, 262);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(8, 8, 528, 180);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    white.setColor(QPalette::Text, Qt::black);
    panel->setPalette(white);

    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(DialogPicture(QColor(255, 200, 0)));
    picture->setGeometry(10, 10, 80, 80);

    heading_ = new QLabel(U("Wußten Sie schon ?"), panel);
    heading_->setObjectName(QStringLiteral("Label1"));
    QFont big = heading_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    heading_->setFont(big);
    heading_->setGeometry(104, 12, 416, 28);

    text_ = new QPlainTextEdit(panel);
    text_->setObjectName(QStringLiteral("Memo1"));
    text_->setGeometry(104, 46, 420, 126);
    text_->setFrameStyle(QFrame::NoFrame);
    text_->setReadOnly(true);
    text_->setPalette(white);
    text_->setAccessibleName(U("Tip"));

    showAtStart_ = MakeCheckBox(this, U(" &Tips bei jedem Start von Lumoretta anzeigen"),
                                QRect(10, 194, 420, 22));
    showAtStart_->setObjectName(QStringLiteral("CheckBox1"));
    // Checked at every program start, whatever TIP holds.
    showAtStart_->setChecked(true);
    next_ = MakeButton(this, U("mehr &Tips"), QRect(320, 224, 104, 30));
    close_ = MakeButton(this, U("&Beenden"), QRect(432, 224, 104, 30));
    close_->setDefault(true);
    connect(next_, &QPushButton::clicked, this, [this] { NextTip(); });
    connect(close_, &QPushButton::clicked, this, [this] { Finish(); });
    connect(showAtStart_, &QCheckBox::clicked, this,
            [this](bool checked) { ShowAtStartClicked(checked); });
    setTabOrder(close_, next_);
    setTabOrder(next_, showAtStart_);
}

QString TipsDialog::tipText() const {
    return text_->toPlainText();
}

bool TipsDialog::StepAndLoad() {
    auto& st = ctx_.state;
    st.settings.tipNumber = NextTipNumber(st.archive, st.settings.tipNumber);
    int err = 0;
    const auto bytes = ReadWholeFile(st.archive.resolve(TipFileName(st.settings.tipNumber)), &err);
    if (!bytes) {
        text_->clear();
        ctx_.messages.ShowIoError(err);
        return false;
    }
    text_->setPlainText(TipScreenText(*bytes));
    return true;
}

void TipsDialog::RunWindow() {
    auto& st = ctx_.state;
    ctx_.sound.PlaySoundCue(QStringLiteral("harfe"), 0);
    move(ctx_.Place(97, 120));
    ctx_.screen.SetWindowCaptionSuffix(U(" - Tips anzeigen..."));
    close_->setFocus();
    exec();
    ctx_.SetScreenCaptions(st.screenMode);
}

void TipsDialog::Open() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    const int saved = st.currentStatus;
    ctx_.messages.ShowStatus(20);
    ctx_.SetScreenCaptions(mode::Disabled);
    // Without a tip file the message says so; no empty window follows it.
    if (StepAndLoad())
        RunWindow();
    else
        ctx_.SetScreenCaptions(st.screenMode);
    ctx_.messages.ShowStatus(saved);
}

void TipsDialog::OpenAtStart() {
    auto& st = ctx_.state;
    if (!st.tipReady)
        return;
    const int saved = st.currentStatus;
    ctx_.messages.ShowStatus(20);
    ctx_.SetScreenCaptions(mode::Disabled);
    text_->setPlainText(TipScreenText(st.tipText));
    RunWindow();
    ctx_.messages.ShowStatus(saved);
}

void TipsDialog::NextTip() {
    ctx_.sound.PlaySoundCue(QStringLiteral("next"), 0);
    StepAndLoad();
}

void TipsDialog::Finish() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    if (showAtStart_->isChecked())
        st.settings.tipNumber = NextTipNumber(st.archive, st.settings.tipNumber);
    else
        st.settings.tipNumber = 0;
    ctx_.SaveSettings();
    accept();
}

void TipsDialog::ShowAtStartClicked(bool checked) {
    ctx_.sound.PlayClick();
    ctx_.state.settings.tipNumber = checked ? 1 : 0;
    ctx_.SaveSettings();
}

void TipsDialog::reject() {
    Finish();
}

} // namespace lumo
