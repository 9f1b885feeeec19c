#pragma once
// NoticeDialog: the notice dialog of ShowNotice with its one button "Danke".
#include "ui/MessageDialog.h"

namespace lumo {

class NoticeDialog : public MessageDialog {
    Q_OBJECT
public:
    NoticeDialog(MessageCatalog& catalog, QWidget* parent = nullptr);
    void reject() override; // Esc is "Danke"

    void Fill(const QString& title, const QString& text, int labelWidth = 270);
    void onThanks(); // "Danke"

    QPushButton* thanksButton = nullptr;

private:
    void relayout();
};

} // namespace lumo
