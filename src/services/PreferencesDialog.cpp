#include "services/PreferencesDialog.h"

#include "platform/Launcher.h"
#include "platform/Sound.h"
#include "services/DialogParts.h"
#include "services/logic/Preferences.h"
#include "store/Settings.h"
#include "ui/DialogWidgets.h"
#include "ui/MessageCatalog.h"

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>

#include <algorithm>

namespace lumo {

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The file-name part of a stored path, as the read-only fields show it.
QString FileNamePart(const std::string& stored) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(stored))).fileName().toUpper();
}

std::string StoredPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QLineEdit* MakeSizeEdit(QWidget* parent, const QString& name, int y) {
    QLabel* label = MakeLabel(parent, name, 12, y + 4);
    QLineEdit* edit = MakeEdit(parent, 118, y, 34, 2);
    edit->setAccessibleName(name);
    label->setBuddy(edit);
    return edit;
}

// A stored size is shown whole (KASTEN=100 as "100", not "10"): "INI-Datei aktualisieren"
// then refuses it instead of storing a value cut to the field's two characters.
void ShowSize(QLineEdit* edit, int32_t size) {
    const QString text = QString::number(size);
    edit->setMaxLength(std::max<int>(2, static_cast<int>(text.size())));
    edit->setText(text);
}

QLineEdit* MakePathField(QWidget* parent, const QString& name, int y) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(96, y + 1, 336, 24);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAccessibleName(name);
    return edit;
}

// The file dialog pattern of every picture format this program can show.
QString PictureFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Bilder (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(")");
}

} // namespace

PreferencesDialog::PreferencesDialog(const FeatureContext& context, QWidget* parent)
    : QDialog(parent), ctx_(context) {
    setWindowTitle(QStringLiteral("Lumoretta Preferences"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(460, 232);

    auto* archive = new QGroupBox(U("Archiv-&Verwaltung"), this);
    archive->setGeometry(8, 6, 228, 86);
    boxSize_ = MakeSizeEdit(archive, U("Kasten-Größe"), 22);
    MakeLabel(archive, U("Magazine"), 158, 26);
    magazineSize_ = MakeSizeEdit(archive, U("Magazin-Größe"), 52);
    MakeLabel(archive, U("Dias"), 158, 56);

    auto* system = new QGroupBox(U("System-&Einstellungen"), this);
    system->setGeometry(242, 6, 210, 86);
    sounds_ = MakeCheckBox(system, U("System-Sounds"), QRect(10, 20, 194, 20));
    precalculation_ = MakeCheckBox(system, U("Dia-Daten Vorberechung"), QRect(10, 41, 194, 20));
    autoBackup_ = MakeCheckBox(system, U("Auto-Backup beim Beenden"), QRect(10, 62, 194, 20));

    auto* paths = new QGroupBox(U("System-&Pfade"), this);
    paths->setGeometry(8, 98, 444, 84);
    QPushButton* editorButton = MakeButton(paths, U("Editor"), QRect(10, 20, 78, 26));
    editor_ = MakePathField(paths, U("Editor"), 20);
    QPushButton* pictureButton = MakeButton(paths, U("Bild"), QRect(10, 52, 78, 26));
    picture_ = MakePathField(paths, U("Bild"), 52);
    connect(editorButton, &QPushButton::clicked, this, [this] { ChooseEditor(); });
    connect(pictureButton, &QPushButton::clicked, this, [this] { ChoosePicture(); });

    ok_ = MakeButton(this, U("&INI-Datei aktualisieren"), QRect(8, 192, 148, 30));
    ok_->setDefault(true);
    help_ = MakeHelpButton(this, ctx_, 403, QRect(162, 192, 142, 30));
    close_ = MakeButton(this, U("Requester &schließen"), QRect(310, 192, 142, 30));
    connect(ok_, &QPushButton::clicked, this, [this] { SaveAndClose(); });
    connect(close_, &QPushButton::clicked, this, [this] { CloseDialog(); });

    QWidget* order[] = {boxSize_,     magazineSize_, sounds_, precalculation_, autoBackup_,
                        editorButton, pictureButton, ok_,     help_,           close_};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void PreferencesDialog::FillFields() {
    const Settings& s = ctx_.state.settings;
    ShowSize(boxSize_, s.magazinesPerBox);
    ShowSize(magazineSize_, s.slidesPerMagazineShown);
    sounds_->setChecked(s.sound);
    precalculation_->setChecked(s.precomputePosition);
    autoBackup_->setChecked(s.autoBackup);
    editor_->setText(FileNamePart(s.editor));
    picture_->setText(FileNamePart(s.pictureName));
}

void PreferencesDialog::Open() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    ctx_.TakeOverMainScreen();
    ctx_.messages.ShowStatus(20);
    move(ctx_.Place(104, 141));
    // Every opening shows what DIA.INI holds; the window stays where the user put it and
    // the slide counters stay as counted.
    Settings loaded;
    Counters ignored;
    LoadSettings(st.archive, loaded, ignored);
    loaded.windowTop = st.settings.windowTop;
    loaded.windowLeft = st.settings.windowLeft;
    st.settings = loaded;
    FillFields();
    boxSize_->setFocus();
    exec();
    ctx_.GiveBackMainScreen();
}

void PreferencesDialog::ChooseEditor() {
    ctx_.sound.PlayClick();
    if (QWidget* main = ctx_.MainWidget())
        main->repaint();
    const QString file = ctx_.messages.GetOpenFileName(
        U("System-Editor auswählen"), QString::fromStdString(ctx_.state.windowsDirectory),
        U("Text-Editor (*)"));
    ctx_.messages.ShowStatus(20);
    if (file.isEmpty())
        return;
    const QFileInfo info(file);
    if (!info.isFile() || !info.isExecutable()) {
        ctx_.messages.ShowNotice(LaunchFailureText(file));
        return;
    }
    ctx_.state.settings.editor = StoredPath(info.absoluteFilePath());
    // Chosen here by the user: it starts later without the approval question.
    ctx_.launcher.ApproveProgram(FromCp1252(ctx_.state.settings.editor));
    editor_->setText(FileNamePart(ctx_.state.settings.editor));
}

void PreferencesDialog::ChoosePicture() {
    ctx_.sound.PlayClick();
    if (QWidget* main = ctx_.MainWidget())
        main->repaint();
    const QString file = ctx_.messages.GetOpenFileName(U("BMP-Hintergrundbild auswählen"),
                                                       ctx_.ArchivePathText(), PictureFilter());
    ctx_.messages.ShowStatus(20);
    if (file.isEmpty())
        return;
    ctx_.state.settings.pictureName = StoredPath(QFileInfo(file).absoluteFilePath());
    picture_->setText(FileNamePart(ctx_.state.settings.pictureName));
    ctx_.screen.LoadBackgroundPicture();
}

std::optional<int32_t> PreferencesDialog::TakeSize(QLineEdit* edit, SizeField field, int error) {
    const auto size = ParseSize(ToCp1252Lossy(edit->text()), field);
    if (!size) {
        ctx_.messages.ShowError(error);
        edit->setFocus();
    }
    return size;
}

void PreferencesDialog::SaveAndClose() {
    Settings& s = ctx_.state.settings;
    ctx_.sound.PlayClick();
    const auto box = TakeSize(boxSize_, SizeField::Box, 14);
    if (!box)
        return;
    s.magazinesPerBox = *box; // in effect even when the magazine size is refused
    const auto magazine = TakeSize(magazineSize_, SizeField::Magazine, 6);
    if (!magazine)
        return;
    s.slidesPerMagazine = *magazine;
    s.slidesPerMagazineShown = *magazine;
    s.sound = sounds_->isChecked();
    s.precomputePosition = precalculation_->isChecked();
    s.autoBackup = autoBackup_->isChecked();
    ctx_.messages.ShowStatus(31);
    ctx_.SaveSettings();
    ctx_.sound.PlaySoundCue(QStringLiteral("click006"), 1000);
    accept();
}

void PreferencesDialog::CloseDialog() {
    ctx_.sound.PlayClick();
    done(Rejected);
}

void PreferencesDialog::reject() {
    CloseDialog();
}

} // namespace lumo
