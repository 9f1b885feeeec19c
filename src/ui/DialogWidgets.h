#pragma once
// Small builders for the fixed-layout dialog windows.
#include "platform/Cp1252.h"

#include <QLabel>
#include <QLineEdit>

namespace lumo {

// A label at (x, y), sized to its text.
inline QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

// A one-line input that refuses characters code page 1252 cannot hold.
inline QLineEdit* MakeEdit(QWidget* parent, int x, int y, int w, int maxLength) {
    auto* e = new QLineEdit(parent);
    e->setGeometry(x, y, w, 24);
    e->setMaxLength(maxLength);
    e->setValidator(new Cp1252Validator(e));
    return e;
}

// MakeEdit with its caption at (labelX, y): the label is the edit's buddy (Alt + its
// letter focuses the edit) and the caption is the edit's accessible name.
inline QLineEdit* MakeLabelledEdit(QWidget* parent, const QString& caption, int labelX, int y,
                                   int editX, int w, int maxLength) {
    QLabel* label = MakeLabel(parent, caption, labelX, y + 4);
    QLineEdit* edit = MakeEdit(parent, editX, y, w, maxLength);
    label->setBuddy(edit);
    edit->setAccessibleName(QString(caption).remove(u'&'));
    return edit;
}

} // namespace lumo
