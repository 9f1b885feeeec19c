#include "ui/MessageLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace lumo {

namespace {

// The height a word-wrapped label of this width needs (as QLabel measures it).
int WrappedHeight(const QFontMetrics& fm, const QString& text, int width) {
    return fm.boundingRect(QRect(0, 0, width, 100000), Qt::AlignLeft | Qt::TextWordWrap, text)
        .height();
}

} // namespace

int MessageLabelWidth(const QFont& font, const QString& screenText, int minWidth, int maxWidth) {
    maxWidth = std::max(maxWidth, minWidth);
    const QFontMetrics fm(font);
    // A word is never cut: a long file name widens the dialog instead.
    for (const QString& word : screenText.simplified().split(QLatin1Char(' ')))
        maxWidth = std::max(maxWidth, fm.horizontalAdvance(word));
    // The narrowest width that needs no more lines than the widest label: every line that
    // fits stays whole, and a longer one is spread evenly over the lines it needs.
    const int target = WrappedHeight(fm, screenText, maxWidth);
    int narrow = 1;
    int wide = maxWidth;
    while (narrow < wide) {
        const int mid = narrow + (wide - narrow) / 2;
        if (WrappedHeight(fm, screenText, mid) <= target)
            wide = mid;
        else
            narrow = mid + 1;
    }
    return std::max(minWidth, wide);
}

} // namespace lumo
