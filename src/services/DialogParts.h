#pragma once
// Builders for the fixed-layout controls of the service windows; each control gets its
// caption as accessible name.
#include "platform/Sound.h"
#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <QCheckBox>
#include <QPushButton>
#include <QString>

namespace lumo {

// The caption without its "&" mnemonic marker.
inline QString PlainCaption(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

inline QPushButton* MakeButton(QWidget* parent, const QString& caption, QRect geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    b->setAccessibleName(PlainCaption(caption));
    return b;
}

inline QCheckBox* MakeCheckBox(QWidget* parent, const QString& caption, QRect geometry) {
    auto* c = new QCheckBox(caption, parent);
    c->setGeometry(geometry);
    c->setAccessibleName(PlainCaption(caption).trimmed());
    return c;
}

// "&Hilfe zum Requester": the click, then the window's help topic.
inline QPushButton* MakeHelpButton(QWidget* parent, const FeatureContext& ctx, int topic,
                                   QRect geometry) {
    QPushButton* b = MakeButton(parent, QString::fromUtf8("&Hilfe zum Requester"), geometry);
    QObject::connect(b, &QPushButton::clicked, parent, [&ctx, topic] {
        ctx.sound.PlayClick();
        ctx.ShowHelp(topic);
    });
    return b;
}

} // namespace lumo
