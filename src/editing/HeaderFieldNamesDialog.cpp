#include "editing/HeaderFieldNamesDialog.h"

#include "editing/logic/HeaderFieldNames.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "ui/AppState.h"
#include "ui/DialogWidgets.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumo {

namespace {

// A comma would split the stored list value and shift every later element, so it is
// refused at input like a character code page 1252 cannot hold.
class ListElementValidator : public Cp1252Validator {
public:
    using Cp1252Validator::Cp1252Validator;
    State validate(QString& input, int& pos) const override {
        if (input.contains(u','))
            return Invalid;
        return Cp1252Validator::validate(input, pos);
    }
};

// One column: caption, list, edit box and update button.
struct Column {
    QComboBox* list;
    QLineEdit* edit;
    QPushButton* button;
};
Column MakeColumn(QWidget* parent, int x, const QString& caption, const QString& editName,
                  const QString& buttonCaption) {
    QLabel* label = MakeLabel(parent, caption, x, 12);
    auto* list = new QComboBox(parent);
    list->setGeometry(x, 30, 200, 24);
    list->setAccessibleName(caption);
    label->setBuddy(list);
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(x, 62, 200, 24);
    edit->setMaxLength(kHeaderFieldSize);
    edit->setValidator(new ListElementValidator(edit));
    edit->setAccessibleName(editName);
    auto* button = new QPushButton(buttonCaption, parent);
    button->setGeometry(x, 94, 200, 30);
    button->setAutoDefault(false);
    return {list, edit, button};
}

} // namespace

HeaderFieldNamesDialog::HeaderFieldNamesDialog(const FeatureContext& context)
    : QDialog(context.screen.MainWidget()), ctx_(context) {
    InstallHelpKey(this, [this] { onHelp(); }); // F1: as the help button
    setWindowTitle(QStringLiteral("Kopfdatenfelder eingeben"));
    setFixedSize(452, 186);
    const Column names =
        MakeColumn(this, 16, QStringLiteral("Feldnamen"), QStringLiteral("Feldname"),
                   QStringLiteral("Feldname aktualisieren"));
    const Column entries =
        MakeColumn(this, 236, QString::fromUtf8("Listeneinträge"), QStringLiteral("Listeneintrag"),
                   QStringLiteral("Listenname aktualisieren"));
    fieldNameList = names.list;
    fieldNameEdit = names.edit;
    renameButton = names.button;
    proposalList = entries.list;
    proposalEdit = entries.edit;
    replaceButton = entries.button;
    closeButton = new QPushButton(QString::fromUtf8("Requester &schließen"), this);
    closeButton->setGeometry(16, 140, 200, 30);
    closeButton->setAutoDefault(false);
    helpButton = new QPushButton(QStringLiteral("&Hilfe zum Requester"), this);
    helpButton->setGeometry(236, 140, 200, 30);
    helpButton->setAutoDefault(false);

    connect(fieldNameList, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!loading_)
            onFieldChosen(i);
    });
    connect(proposalList, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!loading_)
            onProposalChosen(i);
    });
    connect(renameButton, &QPushButton::clicked, this, [this] { onRenameField(); });
    connect(replaceButton, &QPushButton::clicked, this, [this] { onReplaceProposal(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { onClose(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
}

void HeaderFieldNamesDialog::Load() {
    fields_ = ReadHeaderFields(ctx_.state.archive);
    loading_ = true;
    fieldNameList->clear();
    // All eight fields are listed (stored or built-in names), so a name's place in the
    // list is always its field number.
    for (const auto& name : fields_.names)
        fieldNameList->addItem(FromCp1252(name));
    fieldNameList->setCurrentIndex(0);
    loading_ = false;
    FillProposals(0);
    ctx_.messages.ShowStatus(20);
}

void HeaderFieldNamesDialog::FillProposals(int field) {
    if (field < 0 || field > 7)
        return;
    loading_ = true;
    proposalList->clear();
    for (const auto& entry : fields_.proposals[static_cast<size_t>(field)])
        proposalList->addItem(FromCp1252(entry));
    proposalList->setCurrentIndex(proposalList->count() > 0 ? 0 : -1);
    loading_ = false;
    fieldNameEdit->setText(fieldNameList->itemText(field));
    proposalEdit->setText(proposalList->count() > 0 ? proposalList->itemText(0) : QString());
}

void HeaderFieldNamesDialog::onFieldChosen(int field) {
    FillProposals(field);
}

void HeaderFieldNamesDialog::onProposalChosen(int proposal) {
    if (proposal >= 0)
        proposalEdit->setText(proposalList->itemText(proposal));
}

std::optional<std::string> HeaderFieldNamesDialog::EnteredText(QLineEdit* edit) {
    // "leer" is how DIA.INI marks an element as not set: stored, it would never show.
    std::string text = ToCp1252Lossy(edit->text());
    if (!text.empty() && text != kHeaderElementUnset)
        return text;
    ctx_.messages.ShowWarningStatus();
    ctx_.sound.PlaySoundCue(QStringLiteral("error"), 2000);
    ctx_.messages.ShowStatus(20);
    return std::nullopt;
}

void HeaderFieldNamesDialog::AfterStore(bool stored, int statusText) {
    if (!stored) {
        ctx_.messages.ShowNotice(
            QString::fromUtf8("Ini-Datei für Lumoretta konnte nicht\rkorrekt gesichert werden !"));
        ctx_.messages.ShowStatus(20);
        return;
    }
    ctx_.messages.ShowStatus(statusText);
    ctx_.sound.PlaySoundCue(QStringLiteral("click006"), 2000);
    Load();
    ctx_.messages.ShowStatus(20);
}

void HeaderFieldNamesDialog::onRenameField() {
    ctx_.sound.PlayClick();
    const auto name = EnteredText(fieldNameEdit);
    if (!name)
        return;
    const int field = fieldNameList->currentIndex();
    AfterStore(WriteFieldNames(ctx_.state.archive, RenamedFieldNames(fields_, field, *name)), 15);
}

void HeaderFieldNamesDialog::onReplaceProposal() {
    ctx_.sound.PlayClick();
    const auto text = EnteredText(proposalEdit);
    if (!text)
        return;
    const int field = fieldNameList->currentIndex();
    // The chosen proposal is replaced; a field without any gets this one as its first.
    const auto elements = ReplacedProposals(fields_, field, proposalList->currentIndex(), *text);
    if (!elements)
        return;
    AfterStore(WriteProposalList(ctx_.state.archive, field, *elements), 22);
}

void HeaderFieldNamesDialog::onClose() {
    ctx_.sound.PlayClick();
    reject();
}

void HeaderFieldNamesDialog::onHelp() {
    ctx_.sound.PlayClick();
    ctx_.ShowHelp(207);
}

} // namespace lumo
